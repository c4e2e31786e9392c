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
// Every statement lives in the store: callers name a table by KeywordTable
// and change rows through the typed operations below, each of which marks
// for the next refresh exactly the table it wrote. Values always reach SQL
// as bound parameters.
#pragma once

#include "editor/keyword_snapshot.h"
#include "editor/keyword_table.h"

#include <array>
#include <initializer_list>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace SQLite {
class Database;
class Statement;
}  // namespace SQLite

namespace qasp {

// A store file that opens but fails the engine's integrity check.
struct DamagedStore : std::runtime_error {
    using std::runtime_error::runtime_error;
};

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
    // be read, is no database, or cannot be written and holds no vocabulary;
    // a file whose pages are damaged throws DamagedStore.
    explicit KeywordStore(std::string path, StoreAccess access = StoreAccess::ReadWrite);
    ~KeywordStore();
    KeywordStore(const KeywordStore &) = delete;
    KeywordStore &operator=(const KeywordStore &) = delete;

    // Re-reads the union of the four tables into the snapshot: a table
    // written by name (ReplaceKeyword, RemoveFunction, a small ClearLocals)
    // only for the names written, any other whole.
    void RefreshKeywords();

    // What the last refresh changed in the snapshot: everything, or the
    // rows of these names (ASCII lower case, the store's code page). An
    // editor re-colours the words named, or all of them.
    struct Changes {
        bool all = true;
        std::vector<std::string> names;
    };
    const Changes &LastChanges() const { return changes_; }

    int LookupKeyword(std::string &name) const { return snapshot_.LookupKeyword(name); }
    std::vector<const KeywordRow *> ListKeywords(std::string_view prefix) const
    {
        return snapshot_.ListKeywords(prefix);
    }
    const KeywordSnapshot &Snapshot() const { return snapshot_; }

    // The writes. None refreshes the snapshot; each marks the table it
    // writes. A write to key_main or key_function of a read-only store
    // throws the engine's error.

    // One row for `name` in `table` (ASCII case ignored): any row of that
    // name is deleted first.
    void ReplaceKeyword(KeywordTable table, std::string_view name, std::string_view hint, int keyType);
    // Empties key_other, the locals of the function in hand.
    void ClearLocals();
    // Empties key_public, the project's globals and functions.
    void ClearProjectNames();
    // Deletes the key_public rows whose hint is `prototype` (ASCII case
    // ignored): the entry of the function with that prototype.
    void RemoveFunction(std::string_view prototype);

    // The rows of one table in their stored order.
    std::vector<KeywordRow> TableRows(KeywordTable table);

    // Whether the next RefreshKeywords reads `table` again, whole or for
    // the names written: it was written since the last refresh (another
    // connection's writes to the file show only at the refresh itself).
    bool IsStale(KeywordTable table) const;

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
    // Runs one write on `table` with text values bound to its '?'s, the
    // table marked first so that a failed write is read again too.
    void Write(KeywordTable table, const std::string &sql, std::initializer_list<std::string_view> values);
    void Run(const std::string &sql, std::initializer_list<std::string_view> values);
    // Marks `name` of the table in `slot` for the next refresh, or the whole
    // table when too many names are marked for reading them one by one.
    void MarkName(size_t slot, std::string_view name);
    // The refresh of the names marked, when no table is marked whole.
    void RefreshNames();
    void OpenShared(StoreAccess access);
    void OpenReadOnly(const std::string &reason);
    // Throws DamagedStore when the file fails the engine's integrity check.
    void CheckIntegrity();
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

    KeywordSnapshot snapshot_;
    int batchDepth_ = 0;
    // Each table's rows as last read, in the union's order (key_main,
    // key_function, key_other, key_public), sorted by name without ASCII
    // case and otherwise in stored order; a table written since is read
    // again (whole, or the names in marked_), and the file's two when another
    // connection changed the file (its data version), which no write to the
    // TEMP tables does.
    std::array<std::vector<KeywordRow>, 4> cached_;
    std::array<bool, 4> stale_{true, true, true, true};
    std::array<std::set<std::string>, 4> marked_;  // lower-cased names
    Changes changes_;
    long long dataVersion_ = -1;
};

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
