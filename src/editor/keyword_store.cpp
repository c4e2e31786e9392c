#include "editor/keyword_store.h"

#include "editor/builtin_vocabulary.h"
#include "editor/key_type.h"
#include "text/byte_string.h"
#include "text/function_name.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

#include <algorithm>
#include <stdexcept>

namespace qasp {
namespace {

constexpr std::string_view kTables[] = {"key_main", "key_function", "key_public", "key_other"};

constexpr const char *kUnionSql =
    "select * from key_main union select * from key_function "
    "union select * from key_other union select * from key_public";

// The tables in the order the union reads them: of rows equal under its key
// the last one read stays (the engine's index keeps the entry written last).
constexpr std::string_view kUnionOrder[] = {"key_main", "key_function", "key_other", "key_public"};

// SQLite's NOCASE: ASCII letters folded byte by byte, then the shorter first.
int CompareNoCase(std::string_view a, std::string_view b)
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const auto fold = [](char c) {
            const auto u = static_cast<unsigned char>(c);
            return u >= 'A' && u <= 'Z' ? u + 32 : u;
        };
        const int d = fold(a[i]) - fold(b[i]);
        if (d != 0)
            return d;
    }
    return static_cast<int>(a.size()) - static_cast<int>(b.size());
}

// The union's key: the name and hint without ASCII case, then the type.
int CompareUnionKey(const KeywordRow &a, const KeywordRow &b)
{
    if (const int c = CompareNoCase(a.name, b.name))
        return c;
    if (const int c = CompareNoCase(a.hint, b.hint))
        return c;
    return (a.type > b.type) - (a.type < b.type);
}

}  // namespace

std::string_view KeywordTableName(std::string_view table)
{
    for (std::string_view t : kTables)
        if (EqualsNoCase(t, table))
            return t;
    throw std::invalid_argument("unknown keyword table: " + std::string(table));
}

KeywordStore::KeywordStore(const std::string &path)
    : path_(path)
    , db_(std::make_unique<SQLite::Database>(path, SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE,
                                             2000))
{
    // The store is rewritten on every change of node: a journal written
    // ahead and synced only at checkpoints keeps that from waiting for the
    // disk each time. A crash can lose the last changes, never the file.
    if (path != ":memory:") {
        db_->exec("pragma journal_mode=wal");
        db_->exec("pragma synchronous=normal");
    }
    CreateTables();
    FillBuiltinVocabularyIfEmpty();
    RefreshKeywords();
}

KeywordStore::~KeywordStore()
{
    statements_.clear();  // statements must go before their connection
}

void KeywordStore::CreateTables()
{
    // NOCASE folds ASCII letters only, which is how VBScript names compare.
    Batch batch(*this);
    for (std::string_view t : kTables) {
        const std::string name(t);
        db_->exec("create table if not exists " + name
                  + " (key_name text collate nocase, key_hint text collate nocase,"
                    " key_type integer)");
        db_->exec("create index if not exists " + name + "_by_name on " + name + " (key_name)");
    }
    db_->exec("create index if not exists key_public_by_hint on key_public (key_hint)");
    batch.Commit();
}

void KeywordStore::FillBuiltinVocabularyIfEmpty()
{
    SQLite::Statement count(*db_, "select (select count(*) from key_main)"
                                  " + (select count(*) from key_function)");
    count.executeStep();
    if (count.getColumn(0).getInt64() != 0)
        return;
    Batch batch(*this);
    for (const auto &[table, rows] : BuiltinVocabulary()) {
        const std::string sql =
            "insert into " + std::string(table) + " (key_name,key_hint,key_type) values (?,?,?)";
        for (const KeywordRow &row : rows) {
            SQLite::Statement &insert = Prepared(sql);
            insert.bind(1, row.name);
            insert.bind(2, row.hint);
            insert.bind(3, row.type);
            insert.exec();
        }
    }
    batch.Commit();
}

SQLite::Statement &KeywordStore::Prepared(const std::string &sql)
{
    auto it = statements_.find(sql);
    if (it == statements_.end())
        it = statements_.emplace(sql, std::make_unique<SQLite::Statement>(*db_, sql)).first;
    SQLite::Statement &st = *it->second;
    st.reset();
    st.clearBindings();
    return st;
}

void KeywordStore::ExecuteStatement(std::string_view sql, const std::vector<std::string> &values)
{
    SQLite::Statement &st = Prepared(std::string(sql));
    if (static_cast<size_t>(st.getBindParameterCount()) != values.size())
        throw std::invalid_argument("statement takes " + std::to_string(st.getBindParameterCount())
                                    + " values, " + std::to_string(values.size()) + " given: "
                                    + std::string(sql));
    for (size_t i = 0; i < values.size(); ++i)
        st.bind(static_cast<int>(i + 1), values[i]);
    MarkStale(sql);
    while (st.executeStep()) {
    }
}

void KeywordStore::MarkStale(std::string_view sql)
{
    const std::string lower = LowerAscii(Trim(sql));
    if (lower.rfind("select", 0) == 0)
        return;
    bool named = false;
    for (size_t i = 0; i < std::size(kUnionOrder); ++i)
        if (lower.find(kUnionOrder[i]) != std::string::npos) {
            stale_[i] = true;
            named = true;
        }
    if (!named)
        stale_.fill(true);
}

void KeywordStore::RefreshKeywords()
{
    // A write by another connection (the user's own tool on main.db) shows
    // in the file's data version: then everything is read again.
    SQLite::Statement &version = Prepared("pragma data_version");
    version.executeStep();
    const long long current = version.getColumn(0).getInt64();
    version.reset();
    if (current != dataVersion_) {
        stale_.fill(true);
        dataVersion_ = current;
    }
    for (size_t i = 0; i < std::size(kUnionOrder); ++i) {
        if (!stale_[i])
            continue;
        cached_[i] = TableRows(kUnionOrder[i]);
        stale_[i] = false;
    }
    // The union: in table order, sorted by its key, the last of equals kept.
    std::vector<const KeywordRow *> all;
    for (const auto &rows : cached_)
        for (const KeywordRow &row : rows)
            all.push_back(&row);
    std::stable_sort(all.begin(), all.end(),
                     [](const KeywordRow *a, const KeywordRow *b) { return CompareUnionKey(*a, *b) < 0; });
    std::vector<KeywordRow> rows;
    rows.reserve(all.size());
    for (const KeywordRow *row : all)
        if (rows.empty() || CompareUnionKey(rows.back(), *row) != 0)
            rows.push_back(*row);
        else
            rows.back() = *row;
    snapshot_ = KeywordSnapshot(std::move(rows));
}

std::vector<KeywordRow> KeywordStore::UnionRowsBySql()
{
    SQLite::Statement &query = Prepared(kUnionSql);
    std::vector<KeywordRow> rows;
    while (query.executeStep()) {
        const SQLite::Column name = query.getColumn(0);
        const SQLite::Column hint = query.getColumn(1);
        rows.push_back({std::string(static_cast<const char *>(name.getBlob()), name.getBytes()),
                        std::string(static_cast<const char *>(hint.getBlob()), hint.getBytes()),
                        query.getColumn(2).getInt()});
    }
    return rows;
}

void KeywordStore::ReplaceKeyword(std::string_view table, std::string_view name,
                                  std::string_view hint, int keyType)
{
    const std::string t(KeywordTableName(table));
    Batch batch(*this);
    ExecuteStatement("delete from " + t + " where Key_Name=?", {std::string(name)});  // marks it stale
    SQLite::Statement &insert =
        Prepared("insert into " + t + " (key_name,key_hint,key_type) values (?,?,?)");
    insert.bind(1, std::string(name));
    insert.bind(2, std::string(hint));
    insert.bind(3, keyType);
    insert.exec();
    batch.Commit();
}

std::vector<KeywordRow> KeywordStore::TableRows(std::string_view table)
{
    SQLite::Statement &query = Prepared("select key_name, key_hint, key_type from "
                                        + std::string(KeywordTableName(table)) + " order by rowid");
    std::vector<KeywordRow> rows;
    while (query.executeStep())
        rows.push_back({query.getColumn(0).getString(), query.getColumn(1).getString(),
                        query.getColumn(2).getInt()});
    return rows;
}

KeywordStore::Batch::Batch(KeywordStore &store)
    : store_(store)
{
    if (store_.batchDepth_++ == 0)
        store_.db_->exec("begin");
}

void KeywordStore::Batch::Commit()
{
    if (!open_)
        return;
    open_ = false;
    if (--store_.batchDepth_ != 0)
        return;
    try {
        store_.db_->exec("commit");
    } catch (const std::exception &) {
        // A failed commit (disk full, file gone) leaves the transaction
        // open; end it so the connection stays usable, then report.
        try {
            store_.db_->exec("rollback");
        } catch (const std::exception &) {
        }
        throw;
    }
}

KeywordStore::Batch::~Batch()
{
    try {
        Commit();
    } catch (const std::exception &) {
        // Already unwinding or ending quietly: the error of the statement
        // that failed is the one the user sees.
    }
}

std::unique_ptr<KeywordStore> OpenKeywordStore(const std::string &path)
{
    return std::make_unique<KeywordStore>(path);
}

void CloseKeywordStore(std::unique_ptr<KeywordStore> &store)
{
    store.reset();
}

std::string RegisterFunctionKeyword(KeywordStore &store, std::string_view headLine)
{
    std::string prototype = ExtractFunctionName(headLine, false);
    const std::string name = ExtractFunctionName(prototype, true);
    store.ReplaceKeyword("Key_Public", name, prototype, kProjectFunction);
    return prototype;
}

}  // namespace qasp
