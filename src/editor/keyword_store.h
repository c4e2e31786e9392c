// The keyword store: the four keyword tables on one SQLite connection, and
// the snapshot of their union that colouring and completion read.
//
// key_main and key_function, the shared vocabulary, live in the store's
// file, which every running editor opens. key_public and key_other, the open
// project's names, belong to one process: they are TEMP tables of the
// connection, which shadow any table of the same name in the file for every
// unqualified statement, so another process never sees them, and a project
// load writes nothing into the file. Rows that an earlier version left in the
// file's own key_public and key_other stay hidden behind them.
//
// The file is never a reason to stop: another process's write is waited for
// (busy timeout, write-ahead log), and a file that cannot be written is read
// as it is (ReadOnly()); the project's names work the same in either case.
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

// How the store's file is opened.
enum class StoreAccess {
    ReadWrite,  // written when the file allows it, else read as it is
    ReadOnly,   // never written, as for a file whose permissions refuse writing
};

class KeywordStore {
public:
    // Opens (creating when missing) the store at `path`; ":memory:" gives a
    // store that lives as long as the object. A new store is filled with the
    // built-in vocabulary. A file that cannot be written (its mode, its
    // folder, `access`) is opened read-only when it holds the vocabulary.
    // Errors of the engine are thrown with its message: a file that cannot
    // be read, is no database, or cannot be written and holds no vocabulary.
    explicit KeywordStore(const std::string &path, StoreAccess access = StoreAccess::ReadWrite);
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

    // True when the file could not be written: its vocabulary is read as it
    // is and writes to key_main or key_function fail; key_public and
    // key_other work as ever. The engine's reason goes with it.
    bool ReadOnly() const { return !readOnlyReason_.empty(); }
    const std::string &ReadOnlyReason() const { return readOnlyReason_; }

    // The union as the engine itself computes it, for checking the cache
    // that RefreshKeywords keeps.
    std::vector<KeywordRow> UnionRowsBySql();

private:
    SQLite::Statement &Prepared(const std::string &sql);
    void OpenShared(StoreAccess access);
    void OpenReadOnly(const std::string &reason);
    void OpenConnection(const std::string &name, int flags);
    void UseWriteAheadLog();
    bool SharedTablesReady();
    void CreateSharedTables();
    void FillBuiltinVocabularyIfEmpty();
    void CreateProcessTables();

    std::string path_;
    std::string readOnlyReason_;
    std::unique_ptr<SQLite::Database> db_;
    std::unordered_map<std::string, std::unique_ptr<SQLite::Statement>> statements_;
    void MarkStale(std::string_view sql);

    KeywordSnapshot snapshot_;
    int batchDepth_ = 0;
    // Each table's rows as last read, in the union's order (key_main,
    // key_function, key_other, key_public); a table written since is read
    // again, and the file's two when another connection changed the file
    // (its data version), which no write to the TEMP tables does.
    std::array<std::vector<KeywordRow>, 4> cached_;
    std::array<bool, 4> stale_{true, true, true, true};
    long long dataVersion_ = -1;
};

// The four tables by their canonical name ("key_public"), given any letter
// case; throws std::invalid_argument for any other name.
std::string_view KeywordTableName(std::string_view table);

std::unique_ptr<KeywordStore> OpenKeywordStore(const std::string &path,
                                               StoreAccess access = StoreAccess::ReadWrite);
void CloseKeywordStore(std::unique_ptr<KeywordStore> &store);

// What opening a store's file came to.
enum class StoreState {
    Writable,  // the file, read and written
    ReadOnly,  // the file, read only (KeywordStore::ReadOnly)
    Fallback,  // the file could not be used: an in-memory store with the
               // built-in vocabulary stands in, and nothing of it is kept
};

struct OpenedKeywordStore {
    std::unique_ptr<KeywordStore> store;
    StoreState state = StoreState::Writable;
    std::string reason;  // the engine's message when the state is not Writable
};

// OpenKeywordStore that never fails for the file's sake: a file that cannot
// be used at all gives the in-memory fallback, with the reason.
OpenedKeywordStore OpenKeywordStoreOrFallback(const std::string &path,
                                              StoreAccess access = StoreAccess::ReadWrite);

// Enters the function of a header line into key_public and returns its
// prototype ("Foo(a, b)" for "Function Foo(a, b)").
std::string RegisterFunctionKeyword(KeywordStore &store, std::string_view headLine);

}  // namespace qasp
