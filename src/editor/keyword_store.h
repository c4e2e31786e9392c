// The keyword store: one SQLite file with the four keyword tables, and the
// snapshot of their union that colouring and completion read.
//
// Values always reach SQL as bound parameters. Statement texts keep the
// shapes the rest of the program knows ("delete from Key_Public where
// key_hint=?"), with a '?' where a value goes.
#pragma once

#include "editor/keyword_snapshot.h"

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace SQLite {
class Database;
class Statement;
}  // namespace SQLite

namespace qasp {

class KeywordStore {
public:
    // Opens (creating when missing) the store at `path`; ":memory:" gives a
    // store that lives as long as the object. A new store is filled with the
    // built-in vocabulary. Errors of the engine are thrown with its message.
    explicit KeywordStore(const std::string &path);
    ~KeywordStore();
    KeywordStore(const KeywordStore &) = delete;
    KeywordStore &operator=(const KeywordStore &) = delete;

    // Runs one statement; each '?' in `sql` takes the next text value.
    void ExecuteStatement(std::string_view sql, const std::vector<std::string> &values = {});

    // Re-reads the union of the four tables into the snapshot.
    void RefreshKeywords();

    int LookupKeyword(std::string &name) const { return snapshot_.LookupKeyword(name); }
    std::vector<const KeywordRow *> ListKeywords(std::string_view prefix) const
    {
        return snapshot_.ListKeywords(prefix);
    }
    const KeywordSnapshot &Snapshot() const { return snapshot_; }

    // One row for `name` in `table` (ASCII case ignored): any row of that
    // name is deleted first. The snapshot is not refreshed.
    void ReplaceKeyword(std::string_view table, std::string_view name, std::string_view hint,
                        int keyType);

    // The rows of one table in their stored order.
    std::vector<KeywordRow> TableRows(std::string_view table);

    // The writes made while a Batch lives run in one transaction; batches
    // nest. Commit() ends it and throws when the engine cannot commit. A batch
    // left by an exception commits what was written before the error, since
    // those rows count as written.
    class Batch {
    public:
        explicit Batch(KeywordStore &store);
        ~Batch();
        void Commit();
        Batch(const Batch &) = delete;
        Batch &operator=(const Batch &) = delete;

    private:
        KeywordStore &store_;
        bool open_ = true;
    };

    const std::string &Path() const { return path_; }

    // The union as the engine itself computes it, for checking the cache
    // that RefreshKeywords keeps.
    std::vector<KeywordRow> UnionRowsBySql();

private:
    SQLite::Statement &Prepared(const std::string &sql);
    void CreateTables();
    void FillBuiltinVocabularyIfEmpty();

    std::string path_;
    std::unique_ptr<SQLite::Database> db_;
    std::unordered_map<std::string, std::unique_ptr<SQLite::Statement>> statements_;
    void MarkStale(std::string_view sql);

    KeywordSnapshot snapshot_;
    int batchDepth_ = 0;
    // Each table's rows as last read, in the union's order (key_main,
    // key_function, key_other, key_public); a table written since is read
    // again, and all of them when another connection changed the file.
    std::array<std::vector<KeywordRow>, 4> cached_;
    std::array<bool, 4> stale_{true, true, true, true};
    long long dataVersion_ = -1;
};

// The four tables by their canonical name ("key_public"), given any letter
// case; throws std::invalid_argument for any other name.
std::string_view KeywordTableName(std::string_view table);

std::unique_ptr<KeywordStore> OpenKeywordStore(const std::string &path);
void CloseKeywordStore(std::unique_ptr<KeywordStore> &store);

// Enters the function of a header line into key_public and returns its
// prototype ("Foo(a, b)" for "Function Foo(a, b)").
std::string RegisterFunctionKeyword(KeywordStore &store, std::string_view headLine);

}  // namespace qasp
