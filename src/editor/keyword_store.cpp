#include "editor/keyword_store.h"

#include "editor/builtin_vocabulary.h"
#include "editor/key_type.h"
#include "text/byte_string.h"
#include "text/function_name.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <utility>

namespace qasp {
namespace {

// A table of the union and where it lives: in the file, shared by every
// process, or in this connection's TEMP schema, this process's own.
struct UnionTable {
    KeywordTable table;
    std::string_view name;
    bool shared;
    std::string_view qualified;
};

// The tables in the order the union reads them: of rows equal under its key
// the last one read stays (the engine's index keeps the entry written last).
// Statements name a table qualified, so none depends on a TEMP table
// shadowing the file's table of the same name.
constexpr UnionTable kUnionOrder[] = {{KeywordTable::Main, "key_main", true, "main.key_main"},
                                      {KeywordTable::Function, "key_function", true, "main.key_function"},
                                      {KeywordTable::Other, "key_other", false, "temp.key_other"},
                                      {KeywordTable::Public, "key_public", false, "temp.key_public"}};

constexpr std::string_view kSharedTables[] = {"key_main", "key_function"};
constexpr std::string_view kProcessTables[] = {"key_public", "key_other"};

constexpr const char *kUnionSql = "select * from main.key_main union select * from main.key_function "
                                  "union select * from temp.key_other union select * from temp.key_public";

constexpr const char *kColumns =
    " (key_name text collate nocase, key_hint text collate nocase, key_type integer)";

// Another editor writing the file (its start filling a new store, the
// user's own tool) is waited for this long before the engine gives up.
constexpr int kBusyTimeoutMs = 5000;

// Errors that say the file cannot be written here, though it may be read:
// its mode or folder (no journal, no write-ahead index can be made beside
// it), or a connection opened for reading only.
bool IsUnwritable(const SQLite::Exception &e)
{
    const int code = e.getErrorCode() & 0xff;
    return code == SQLITE_READONLY || code == SQLITE_CANTOPEN || code == SQLITE_PERM;
}

// A file name as an SQLite URI ("file:///dir/main.db"), for the query
// parameters only a URI can carry.
std::string FileUri(const std::string &path)
{
    std::error_code ec;
    std::filesystem::path full = std::filesystem::absolute(path, ec);
    if (ec)
        full = path;
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string uri = "file://";
    for (const char c : full.string()) {
        const auto u = static_cast<unsigned char>(c);
        const bool plain = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9')
                           || c == '/' || c == '-' || c == '.' || c == '_' || c == '~';
        if (plain) {
            uri += c;
        } else {
            uri += '%';
            uri += kHex[u >> 4];
            uri += kHex[u & 15];
        }
    }
    return uri;
}

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

// The table's place in the union's order, which indexes the cache.
size_t UnionSlot(KeywordTable table)
{
    for (size_t i = 0; i < std::size(kUnionOrder); ++i)
        if (kUnionOrder[i].table == table)
            return i;
    throw std::invalid_argument("unknown keyword table");
}

std::string Qualified(KeywordTable table)
{
    return std::string(kUnionOrder[UnionSlot(table)].qualified);
}

// Names written are read back one by one up to this many per table; past
// it the whole table is read, which then costs less.
constexpr size_t kMostMarkedNames = 64;

bool NameBefore(const KeywordRow &a, const KeywordRow &b)
{
    return CompareNoCase(a.name, b.name) < 0;
}

// A table's rows as the cache keeps them: by name without case, rows of one
// name in stored order.
std::vector<KeywordRow> SortedByName(std::vector<KeywordRow> rows)
{
    std::stable_sort(rows.begin(), rows.end(), NameBefore);
    return rows;
}

// The rows of a cached table named `name` without regard to ASCII case.
template <typename Rows> auto NameRange(Rows &rows, const std::string &name)
{
    return std::equal_range(rows.begin(), rows.end(), KeywordRow{name, {}, 0}, NameBefore);
}

// The union of rows given in table order: sorted by its key, the last of
// equals kept, as the engine's own union keeps the entry written last.
std::vector<KeywordRow> UnionOf(std::vector<const KeywordRow *> all)
{
    std::stable_sort(all.begin(), all.end(),
                     [](const KeywordRow *a, const KeywordRow *b) { return CompareUnionKey(*a, *b) < 0; });
    std::vector<KeywordRow> rows;
    rows.reserve(all.size());
    for (const KeywordRow *row : all)
        if (rows.empty() || CompareUnionKey(rows.back(), *row) != 0)
            rows.push_back(*row);
        else
            rows.back() = *row;
    return rows;
}

}  // namespace

std::string_view KeywordTableName(KeywordTable table)
{
    return kUnionOrder[UnionSlot(table)].name;
}

KeywordStore::KeywordStore(std::string path, StoreAccess access) : path_(std::move(path))
{
    OpenShared(access);
    CheckIntegrity();
    CreateProcessTables();
    RefreshKeywords();
}

KeywordStore::~KeywordStore()
{
    statements_.clear();  // statements must go before their connection
}

void KeywordStore::OpenConnection(const std::string &name, int flags)
{
    statements_.clear();
    db_.reset();
    db_ = std::make_unique<SQLite::Database>(name, flags, kBusyTimeoutMs);
}

void KeywordStore::OpenShared(StoreAccess access)
{
    if (path_ == ":memory:") {
        OpenConnection(path_, SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
        CreateSharedTables();
        return;
    }
    std::string reason;
    try {
        // Opened for reading only is how the engine itself opens a file
        // whose permissions refuse writing; StoreAccess::ReadOnly asks for it.
        OpenConnection(path_, access == StoreAccess::ReadWrite ? SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE
                                                               : SQLite::OPEN_READONLY);
        if (sqlite3_db_readonly(db_->getHandle(), "main") == 1)
            throw SQLite::Exception("attempt to write a readonly database (the file opens for reading only)",
                                    SQLITE_READONLY);
        UseWriteAheadLog();
        if (!SharedTablesReady())
            CreateSharedTables();
        return;
    } catch (const SQLite::Exception &e) {
        if (!IsUnwritable(e))
            throw;
        reason = e.what();
    }
    OpenReadOnly(reason);
}

void KeywordStore::OpenReadOnly(const std::string &reason)
{
    readOnlyReason_ = reason;
    const auto noVocabulary = [this](const std::string &detail) {
        return std::runtime_error("the keyword store cannot be written (" + readOnlyReason_
                                  + ") and holds no vocabulary" + detail);
    };
    const auto probe = [&] {
        try {
            SQLite::Statement count(*db_, "select (select count(*) from main.key_main)"
                                          " + (select count(*) from main.key_function)");
            count.executeStep();
            if (count.getColumn(0).getInt64() == 0)
                throw noVocabulary("");
        } catch (const SQLite::Exception &e) {
            if ((e.getErrorCode() & 0xff) == SQLITE_ERROR)  // no such table
                throw noVocabulary(std::string(": ") + e.what());
            throw;
        }
    };
    try {
        OpenConnection(path_, SQLite::OPEN_READONLY);
        probe();
        return;
    } catch (const SQLite::Exception &e) {
        if (!IsUnwritable(e))
            throw;
        // A write-ahead log needs an index file beside the store even to be
        // read; in a folder that refuses it, the file is read as it stands,
        // without locks: what another process writes later goes unseen.
    }
    OpenConnection(FileUri(path_) + "?mode=ro&immutable=1", SQLite::OPEN_READONLY | SQLite::OPEN_URI);
    probe();
}

void KeywordStore::CheckIntegrity()
{
    // A damaged file can still open and answer, with words bitten off
    // ("Dae" for "Date"). The quick check sees only broken pages; the full
    // check also holds every row against the index by name, which a changed
    // word no longer matches, and costs a few milliseconds on the vocabulary.
    if (path_ == ":memory:")
        return;
    std::string problems;
    try {
        SQLite::Statement check(*db_, "pragma main.integrity_check(5)");
        while (check.executeStep()) {
            const std::string row = check.getColumn(0).getString();
            if (row != "ok")
                problems += (problems.empty() ? "" : "; ") + row;
        }
    } catch (const SQLite::Exception &e) {
        problems = e.what();
    }
    if (!problems.empty())
        throw DamagedStore("the keyword store is damaged (" + problems + ")");
}

void KeywordStore::UseWriteAheadLog()
{
    // Readers and the one writer do not wait for each other, and a change is
    // synced only at checkpoints, not each time. A crash can lose the last
    // changes, never the file. The mode stays with the file.
    if (LowerAscii(db_->execAndGet("pragma journal_mode").getString()) != "wal") {
        try {
            db_->exec("pragma journal_mode=wal");
        } catch (const SQLite::Exception &e) {
            // Busy past the timeout (an older editor in a long write): the
            // file works in its old journal mode, and a later start switches.
            if ((e.getErrorCode() & 0xff) != SQLITE_BUSY)
                throw;
        }
    }
    db_->exec("pragma synchronous=normal");
}

bool KeywordStore::SharedTablesReady()
{
    // A store set up before needs no write, not even a lock: the file may be
    // busy, and another editor's start must not wait for this one's.
    SQLite::Statement objects(*db_, "select count(*) from main.sqlite_master where name in"
                                    " ('key_main', 'key_function',"
                                    " 'key_main_by_name', 'key_function_by_name')");
    objects.executeStep();
    if (objects.getColumn(0).getInt64() != 4)
        return false;
    SQLite::Statement rows(*db_, "select exists (select 1 from main.key_main)"
                                 " or exists (select 1 from main.key_function)");
    rows.executeStep();
    return rows.getColumn(0).getInt() != 0;
}

void KeywordStore::CreateSharedTables()
{
    // NOCASE folds ASCII letters only, which is how VBScript names compare.
    // Immediate: two editors starting on a new file fill it once, one after
    // the other, and neither finds the other's half-made tables.
    db_->exec("begin immediate");
    try {
        for (std::string_view t : kSharedTables) {
            const std::string name(t);
            db_->exec("create table if not exists main." + name + kColumns);
            db_->exec("create index if not exists main." + name + "_by_name on " + name + " (key_name)");
        }
        FillBuiltinVocabularyIfEmpty();
        db_->exec("commit");
    } catch (...) {
        try {
            db_->exec("rollback");
        } catch (const std::exception &) {
        }
        throw;
    }
}

void KeywordStore::FillBuiltinVocabularyIfEmpty()
{
    SQLite::Statement count(*db_, "select (select count(*) from main.key_main)"
                                  " + (select count(*) from main.key_function)");
    count.executeStep();
    if (count.getColumn(0).getInt64() != 0)
        return;
    for (const auto &[table, rows] : BuiltinVocabulary()) {
        const std::string sql =
            "insert into main." + std::string(table) + " (key_name,key_hint,key_type) values (?,?,?)";
        SQLite::Statement insert(*db_, sql);
        for (const KeywordRow &row : rows) {
            insert.reset();
            insert.bind(1, row.name);
            insert.bind(2, row.hint);
            insert.bind(3, row.type);
            insert.exec();
        }
    }
}

void KeywordStore::CreateProcessTables()
{
    // The project's names: TEMP tables, in memory, seen by this connection
    // alone. An unqualified name finds them before the file's tables.
    db_->exec("pragma temp_store=memory");
    for (std::string_view t : kProcessTables) {
        const std::string name(t);
        db_->exec("create temp table if not exists " + name + kColumns);
        db_->exec("create index if not exists temp." + name + "_by_name on " + name + " (key_name)");
    }
    db_->exec("create index if not exists temp.key_public_by_hint on key_public (key_hint)");
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

void KeywordStore::Run(const std::string &sql, std::initializer_list<std::string_view> values)
{
    SQLite::Statement &st = Prepared(sql);
    int index = 0;
    for (const std::string_view value : values)
        st.bind(++index, std::string(value));  // as text: a pointer and size would bind a blob
    st.exec();
}

void KeywordStore::Write(KeywordTable table, const std::string &sql,
                         std::initializer_list<std::string_view> values)
{
    const size_t slot = UnionSlot(table);
    stale_[slot] = true;
    marked_[slot].clear();
    Run(sql, values);
}

void KeywordStore::MarkName(size_t slot, std::string_view name)
{
    if (stale_[slot])
        return;
    marked_[slot].insert(LowerAscii(name));
    if (marked_[slot].size() > kMostMarkedNames) {
        stale_[slot] = true;
        marked_[slot].clear();
    }
}

void KeywordStore::ClearLocals()
{
    // A function's locals are few: marked by name, the refresh touches
    // only their rows of the snapshot.
    const size_t slot = UnionSlot(KeywordTable::Other);
    const std::string sql = "delete from " + Qualified(KeywordTable::Other);
    if (stale_[slot] || cached_[slot].size() > kMostMarkedNames) {
        Write(KeywordTable::Other, sql, {});
        return;
    }
    for (const KeywordRow &row : cached_[slot])
        MarkName(slot, row.name);
    Run(sql, {});
}

void KeywordStore::ClearProjectNames()
{
    Write(KeywordTable::Public, "delete from " + Qualified(KeywordTable::Public), {});
}

void KeywordStore::RemoveFunction(std::string_view prototype)
{
    const size_t slot = UnionSlot(KeywordTable::Public);
    SQLite::Statement &names =
        Prepared("select key_name from " + Qualified(KeywordTable::Public) + " where key_hint=?");
    names.bind(1, std::string(prototype));
    while (names.executeStep())
        MarkName(slot, names.getColumn(0).getString());
    Run("delete from " + Qualified(KeywordTable::Public) + " where key_hint=?", {prototype});
}

bool KeywordStore::IsStale(KeywordTable table) const
{
    const size_t slot = UnionSlot(table);
    return stale_[slot] || !marked_[slot].empty();
}

void KeywordStore::RefreshKeywords()
{
    // A write by another connection (another editor, the user's own tool
    // on main.db) shows in the file's data version: then the file's tables
    // are read again. The TEMP tables are this connection's alone; its own
    // writes marked what they wrote.
    SQLite::Statement &version = Prepared("pragma main.data_version");
    version.executeStep();
    const long long current = version.getColumn(0).getInt64();
    version.reset();
    if (current != dataVersion_) {
        for (size_t i = 0; i < std::size(kUnionOrder); ++i)
            if (kUnionOrder[i].shared)
                stale_[i] = true;
        dataVersion_ = current;
    }
    if (std::none_of(stale_.begin(), stale_.end(), [](bool stale) { return stale; })) {
        RefreshNames();
        return;
    }
    for (size_t i = 0; i < std::size(kUnionOrder); ++i) {
        if (!stale_[i] && marked_[i].empty())
            continue;
        cached_[i] = SortedByName(TableRows(kUnionOrder[i].table));
        stale_[i] = false;
        marked_[i].clear();
    }
    // The union: in table order, sorted by its key, the last of equals kept.
    std::vector<const KeywordRow *> all;
    for (const auto &rows : cached_)
        for (const KeywordRow &row : rows)
            all.push_back(&row);
    snapshot_ = KeywordSnapshot(UnionOf(std::move(all)));
    changes_ = {};
}

void KeywordStore::RefreshNames()
{
    changes_ = {false, {}};
    std::set<std::string> names;
    for (size_t i = 0; i < std::size(kUnionOrder); ++i) {
        for (const std::string &name : marked_[i]) {
            SQLite::Statement &query =
                Prepared("select key_name, key_hint, key_type from " + std::string(kUnionOrder[i].qualified)
                         + " where key_name=? order by rowid");
            query.bind(1, name);
            std::vector<KeywordRow> read;
            while (query.executeStep())
                read.push_back({query.getColumn(0).getString(), query.getColumn(1).getString(),
                                query.getColumn(2).getInt()});
            std::vector<KeywordRow> &rows = cached_[i];
            const auto [first, last] = NameRange(rows, name);
            const auto at = rows.erase(first, last);
            rows.insert(at, std::make_move_iterator(read.begin()), std::make_move_iterator(read.end()));
            names.insert(name);
        }
        marked_[i].clear();
    }
    for (const std::string &name : names) {
        std::vector<const KeywordRow *> all;
        for (const auto &rows : cached_) {
            const auto [first, last] = NameRange(rows, name);
            for (auto it = first; it != last; ++it)
                all.push_back(&*it);
        }
        if (snapshot_.ReplaceRowsOf(name, UnionOf(std::move(all))))
            changes_.names.push_back(name);
    }
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

void KeywordStore::ReplaceKeyword(KeywordTable table, std::string_view name, std::string_view hint,
                                  int keyType)
{
    const std::string t = Qualified(table);
    Batch batch(*this);
    MarkName(UnionSlot(table), name);
    Run("delete from " + t + " where key_name=?", {name});
    SQLite::Statement &insert = Prepared("insert into " + t + " (key_name,key_hint,key_type) values (?,?,?)");
    insert.bind(1, std::string(name));
    insert.bind(2, std::string(hint));
    insert.bind(3, keyType);
    insert.exec();
    batch.Commit();
}

std::vector<KeywordRow> KeywordStore::TableRows(KeywordTable table)
{
    SQLite::Statement &query =
        Prepared("select key_name, key_hint, key_type from " + Qualified(table) + " order by rowid");
    std::vector<KeywordRow> rows;
    while (query.executeStep())
        rows.push_back(
            {query.getColumn(0).getString(), query.getColumn(1).getString(), query.getColumn(2).getInt()});
    return rows;
}

KeywordStore::Batch::Batch(KeywordStore &store) : store_(store)
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

std::unique_ptr<KeywordStore> OpenKeywordStore(const std::string &path, StoreAccess access)
{
    return std::make_unique<KeywordStore>(path, access);
}

OpenedKeywordStore OpenKeywordStoreOrFallback(const std::string &path, StoreAccess access)
{
    OpenedKeywordStore opened;
    try {
        opened.store = OpenKeywordStore(path, access);
        if (opened.store->ReadOnly()) {
            opened.state = StoreState::ReadOnly;
            opened.reason = opened.store->ReadOnlyReason();
        }
    } catch (const std::exception &e) {
        opened.store = OpenKeywordStore(":memory:");
        opened.state = StoreState::Fallback;
        opened.reason = e.what();
    }
    return opened;
}

void CloseKeywordStore(std::unique_ptr<KeywordStore> &store)
{
    store.reset();
}

std::string RegisterFunctionKeyword(KeywordStore &store, std::string_view headLine)
{
    std::string prototype = ExtractFunctionName(headLine, false);
    const std::string name = ExtractFunctionName(prototype, true);
    store.ReplaceKeyword(KeywordTable::Public, name, prototype, kProjectFunction);
    return prototype;
}

}  // namespace qasp
