// One store file shared by several editors, and a store file that cannot be
// written: two KeywordStore objects on one file are two connections, which
// SQLite locks against each other exactly as it locks two processes; the
// test with fork() uses real processes.
#include "editor/builtin_vocabulary.h"
#include "editor/declaration_scan.h"
#include "editor/key_type.h"
#include "editor/keyword_store.h"
#include "project/asp_loader.h"
#include "project/project_tree.h"
#include "scratch_dir.h"

#include <gtest/gtest.h>

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Exception.h>
#include <SQLiteCpp/Statement.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace qasp;
namespace fs = std::filesystem;

namespace {

const fs::path kDemo = QASP_DEMO_DIR;

// Opening a project as the editor does: the root's names replace
// key_public, inside one batch, then the snapshot is refreshed.
size_t LoadDemo(KeywordStore &store)
{
    ProjectTree tree;
    LoadContext context;
    context.siteRoot = kDemo.string();
    LoadAspDocument(tree, nullptr, (kDemo / "index.asp").string(), store, context);
    store.RefreshKeywords();
    return static_cast<size_t>(tree.Count());
}

std::set<std::string> NamesOf(const std::vector<KeywordRow> &rows)
{
    std::set<std::string> names;
    for (const KeywordRow &r : rows)
        names.insert(r.name);
    return names;
}

long long DataVersion(SQLite::Database &db)
{
    return db.execAndGet("pragma data_version").getInt64();
}

// Whether the snapshot equals the engine's union; the first difference
// otherwise.
std::string SnapshotDiffersFromUnion(KeywordStore &store)
{
    const KeywordSnapshot engine(store.UnionRowsBySql());
    const auto &a = store.Snapshot().Rows();
    const auto &b = engine.Rows();
    if (a.size() != b.size())
        return std::to_string(a.size()) + " rows against " + std::to_string(b.size());
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].name != b[i].name || a[i].hint != b[i].hint || a[i].type != b[i].type)
            return std::to_string(i) + ": " + a[i].name + "|" + a[i].hint + " vs " + b[i].name + "|"
                   + b[i].hint;
    return {};
}

// What a read-only store must still do: give the vocabulary, take the
// project's names, load a project; and refuse writes to the shared tables.
// Empty when it does all that, else what went wrong.
std::string CheckReadOnlyStore(const std::string &path)
{
    try {
        KeywordStore store(path);
        if (!store.ReadOnly())
            return "not reported read-only";
        if (store.ReadOnlyReason().empty())
            return "no reason given";
        std::string name = "response";
        if (store.LookupKeyword(name) != kKeyword)
            return "the vocabulary is not there";
        store.ReplaceKeyword(KeywordTable::Public, "gSite", "变量", kGlobalVariable);
        store.RefreshKeywords();
        name = "gsite";
        if (store.LookupKeyword(name) != kGlobalVariable)
            return "key_public was not written";
        if (LoadDemo(store) < 2)
            return "the demo loaded only its root";
        if (store.TableRows(KeywordTable::Public).empty())
            return "the demo's names are missing";
        try {
            store.ReplaceKeyword(KeywordTable::Main, "Zebra", "", kKeyword);
            return "key_main was written";
        } catch (const SQLite::Exception &) {
        }
        return {};
    } catch (const std::exception &e) {
        return std::string("threw: ") + e.what();
    }
}

// Runs `check` without root's rights, which write through any file mode:
// as root, in a child process that has become `nobody`; as anyone else,
// here. Returns the check's answer, or nullopt when the rights cannot be
// given up.
std::optional<std::string> WithoutRootRights(const std::function<std::string()> &check)
{
    if (::geteuid() != 0)
        return check();
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return std::string("no pipe");
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(77);
        const std::string answer = check();
        const ssize_t written = ::write(pipeEnds[1], answer.data(), answer.size());
        ::_exit(written == static_cast<ssize_t>(answer.size()) ? 0 : 1);
    }
    ::close(pipeEnds[1]);
    std::string answer;
    char buffer[512];
    for (ssize_t n; (n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        answer.append(buffer, static_cast<size_t>(n));
    ::close(pipeEnds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 77)
        return std::nullopt;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return "the child ended with status " + std::to_string(status);
    return answer;
}

class SharedStoreFile : public ::testing::Test {
protected:
    // A store file made and closed, as an earlier run leaves it.
    std::string MadeStore()
    {
        const KeywordStore made(path.string());
        return path.string();
    }

    qasp::testing::ScratchDir scratch{"store_sharing"};
    const fs::path path = scratch / "main.db";
};

}  // namespace

// The fault: a third editor's load emptied the first one's project names.
TEST_F(SharedStoreFile, ProjectNamesBelongToTheirOwnConnection)
{
    KeywordStore first(path.string());
    KeywordStore second(path.string());
    first.ReplaceKeyword(KeywordTable::Public, "gFirst", "变量", kGlobalVariable);
    first.ReplaceKeyword(KeywordTable::Other, "localFirst", "变量", kLocalVariable);
    second.ReplaceKeyword(KeywordTable::Public, "gSecond", "变量", kGlobalVariable);
    EXPECT_EQ(NamesOf(first.TableRows(KeywordTable::Public)), std::set<std::string>{"gFirst"});
    EXPECT_EQ(NamesOf(second.TableRows(KeywordTable::Public)), std::set<std::string>{"gSecond"});
    EXPECT_TRUE(second.TableRows(KeywordTable::Other).empty());

    // A load in the second (key_public emptied, the demo's names written)
    // leaves the first's names alone.
    EXPECT_GT(LoadDemo(second), 1u);
    EXPECT_FALSE(second.TableRows(KeywordTable::Public).empty());
    second.ClearLocals();
    first.RefreshKeywords();
    std::string name = "gfirst";
    EXPECT_EQ(first.LookupKeyword(name), kGlobalVariable);
    name = "localfirst";
    EXPECT_EQ(first.LookupKeyword(name), kLocalVariable);
    name = "gsecond";
    EXPECT_EQ(first.LookupKeyword(name), -1);
    EXPECT_EQ(NamesOf(first.UnionRowsBySql()).count("gSecond"), 0u);

    // The shared vocabulary is one for both.
    second.ReplaceKeyword(KeywordTable::Function, "MyHelper", "MyHelper(a)", kBuiltinFunction);
    first.RefreshKeywords();
    name = "myhelper";
    EXPECT_EQ(first.LookupKeyword(name), kBuiltinFunction);
}

// The fault: a second editor's load failed with "database is locked" while
// the first one loaded. A load writes nothing into the file, so it neither
// holds the file's write lock nor waits for it.
TEST_F(SharedStoreFile, ALoadNeitherWaitsForNorBlocksAnotherWriter)
{
    KeywordStore loading(path.string());
    KeywordStore other(path.string());
    // The file's data version, as another connection sees it, changes with
    // every commit into the file that it notices.
    SQLite::Database watcher(path.string(), SQLite::OPEN_READONLY);
    const long long before = DataVersion(watcher);
    EXPECT_GT(LoadDemo(loading), 1u);
    EXPECT_EQ(DataVersion(watcher), before) << "a load wrote into the file";
    const auto start = std::chrono::steady_clock::now();
    {
        // A load in progress: its batch stays open while the other writes.
        KeywordStore::Batch batch(loading);
        loading.ClearProjectNames();
        ScanDeclarations(loading, KeywordTable::Public, "Dim gA, gB\r\nConst kMax = 3\r\n");
        loading.RefreshKeywords();                                        // reads the file inside the batch
        other.ReplaceKeyword(KeywordTable::Main, "Zebra", "", kKeyword);  // the shared file
        {
            KeywordStore::Batch otherLoad(other);
            other.ClearProjectNames();
            ScanDeclarations(other, KeywordTable::Public, "Dim gOther\r\n");
            otherLoad.Commit();
        }
        EXPECT_GT(LoadDemo(loading), 1u);  // a whole load nested in the batch
        ScanDeclarations(loading, KeywordTable::Public, "Dim gLate\r\n");
        batch.Commit();
    }
    {
        // The other way round: a write transaction open on the shared file
        // while a whole load runs.
        KeywordStore::Batch sharedWrite(other);
        other.ReplaceKeyword(KeywordTable::Main, "Yak", "", kKeyword);
        EXPECT_GT(LoadDemo(loading), 1u);
        sharedWrite.Commit();
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2)) << "something waited";
    EXPECT_EQ(NamesOf(other.TableRows(KeywordTable::Public)), std::set<std::string>{"gOther"});
    EXPECT_EQ(NamesOf(loading.TableRows(KeywordTable::Public)).count("gOther"), 0u);
    EXPECT_FALSE(loading.TableRows(KeywordTable::Public).empty());
    loading.RefreshKeywords();
    std::string name = "yak";
    EXPECT_EQ(loading.LookupKeyword(name), kKeyword);

    const long long afterWrites = DataVersion(watcher);
    EXPECT_NE(afterWrites, before);  // the writes to key_main
    EXPECT_GT(LoadDemo(loading), 1u);
    EXPECT_GT(LoadDemo(other), 1u);
    EXPECT_EQ(DataVersion(watcher), afterWrites) << "a load wrote into the file";
}

// The snapshot is rebuilt from the tables this connection wrote and, when
// another connection changed the file, from the file's tables: after any
// mix of writes by two connections and another tool on the file (which may
// leave a name twice in one table) each snapshot equals its engine's union.
TEST_F(SharedStoreFile, EachSnapshotEqualsItsUnionAfterWritesByBoth)
{
    KeywordStore a(path.string());
    KeywordStore b(path.string());
    KeywordStore *stores[] = {&a, &b};
    SQLite::Database tool(path.string(), SQLite::OPEN_READWRITE, 5000);
    const char *const names[] = {"Left", "left", "gCount", "GCOUNT", "x", "Response", "zz", "Zz_"};
    const char *const hints[] = {"变量", "a.asp", "", "Left(string, length)"};
    const KeywordTable tables[] = {KeywordTable::Public, KeywordTable::Other, KeywordTable::Main,
                                   KeywordTable::Function};
    unsigned seed = 11;
    const auto next = [&seed](unsigned n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % n;
    };
    for (int round = 0; round < 400; ++round) {
        KeywordStore &store = *stores[next(2)];
        switch (next(8)) {
        case 0: {
            SQLite::Statement insert(tool, std::string("insert into ")
                                               + (next(2) ? "key_main" : "key_function")
                                               + " (key_name,key_hint,key_type) values (?,?,?)");
            insert.bind(1, names[next(8)]);
            insert.bind(2, hints[next(4)]);
            insert.bind(3, static_cast<int>(next(9)));
            insert.exec();
            break;
        }
        case 1: store.RemoveFunction(hints[next(4)]); break;
        case 2: store.ClearLocals(); break;
        case 3:
            if (next(4) == 0)
                store.ClearProjectNames();
            break;
        default:
            store.ReplaceKeyword(tables[next(4)], names[next(8)], hints[next(4)], static_cast<int>(next(9)));
            break;
        }
        if (next(3) == 0) {
            KeywordStore &reader = *stores[next(2)];
            reader.RefreshKeywords();
            const std::string diff = SnapshotDiffersFromUnion(reader);
            ASSERT_EQ(diff, "") << "after round " << round;
        }
    }
    for (KeywordStore *store : stores) {
        store->RefreshKeywords();
        EXPECT_EQ(SnapshotDiffersFromUnion(*store), "");
    }
}

// An older version kept the project's names in the file: they must not
// reach a project now, and are left for that version as they are.
TEST_F(SharedStoreFile, ProjectNamesLeftInTheFileByOlderVersionsStayOut)
{
    {
        SQLite::Database old(path.string(), SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
        for (const char *t : {"key_main", "key_function", "key_public", "key_other"}) {
            old.exec(std::string("create table ") + t
                     + " (key_name text collate nocase, key_hint text collate nocase, key_type integer)");
            old.exec(std::string("create index ") + t + "_by_name on " + t + " (key_name)");
        }
        old.exec("create index key_public_by_hint on key_public (key_hint)");
        old.exec("insert into key_main values ('Response', '', 0)");
        old.exec("insert into key_function values ('Left', 'Left(string, length)', 1)");
        old.exec("insert into key_public values ('gStale', 'old.asp', 2)");
        old.exec("insert into key_other values ('staleLocal', '变量', 5)");
    }
    {
        KeywordStore store(path.string());
        EXPECT_FALSE(store.ReadOnly());
        std::string name = "gstale";
        EXPECT_EQ(store.LookupKeyword(name), -1);
        name = "stalelocal";
        EXPECT_EQ(store.LookupKeyword(name), -1);
        name = "response";
        EXPECT_EQ(store.LookupKeyword(name), kKeyword);
        EXPECT_TRUE(store.TableRows(KeywordTable::Public).empty());
        EXPECT_TRUE(store.TableRows(KeywordTable::Other).empty());
        EXPECT_EQ(store.UnionRowsBySql().size(), 2u);
        // The statements the program runs reach its own tables.
        store.RemoveFunction("old.asp");
        store.ReplaceKeyword(KeywordTable::Public, "gNew", "变量", kGlobalVariable);
        EXPECT_EQ(NamesOf(store.TableRows(KeywordTable::Public)), std::set<std::string>{"gNew"});
    }
    SQLite::Database old(path.string(), SQLite::OPEN_READONLY);
    EXPECT_EQ(old.execAndGet("select group_concat(key_name) from key_public").getString(), "gStale");
}

// Real processes: several editors start on a new file at once and each
// loads its project over and over, while this one writes the shared
// vocabulary with its write transaction held for a while.
TEST_F(SharedStoreFile, SeveralProcessesStartAndLoadAtOnce)
{
    constexpr int kChildren = 4;
    std::vector<pid_t> children;
    for (int c = 0; c < kChildren; ++c) {
        const pid_t pid = ::fork();
        if (pid == -1) {
            ADD_FAILURE() << "fork failed";
            break;
        }
        if (pid == 0) {
            // No test macros here: this process reports by its exit status.
            int status = 0;
            try {
                KeywordStore store(path.string());
                const std::string own = "gChild" + std::to_string(c);
                for (int round = 0; round < 15; ++round) {
                    {
                        KeywordStore::Batch batch(store);
                        store.ClearProjectNames();
                        ScanDeclarations(store, KeywordTable::Public, "Dim " + own + "\r\n");
                        batch.Commit();
                    }
                    store.RefreshKeywords();
                    std::string name = own;
                    std::string keyword = "response";
                    if (NamesOf(store.TableRows(KeywordTable::Public)) != std::set<std::string>{own}
                        || store.LookupKeyword(name) != kGlobalVariable
                        || store.LookupKeyword(keyword) != kKeyword) {
                        std::fprintf(stderr, "child %d: wrong names in round %d\n", c, round);
                        status = 1;
                        break;
                    }
                    if (LoadDemo(store) < 2) {
                        std::fprintf(stderr, "child %d: the demo loaded only its root\n", c);
                        status = 1;
                        break;
                    }
                }
            } catch (const std::exception &e) {
                std::fprintf(stderr, "child %d: %s\n", c, e.what());
                status = 1;
            }
            ::_exit(status);
        }
        children.push_back(pid);
    }
    std::string parentError;
    try {
        KeywordStore store(path.string());
        for (int round = 0; round < 5; ++round) {
            KeywordStore::Batch batch(store);
            store.ReplaceKeyword(KeywordTable::Main, "Parent" + std::to_string(round), "", kKeyword);
            std::this_thread::sleep_for(std::chrono::milliseconds(60));
            batch.Commit();
        }
    } catch (const std::exception &e) {
        parentError = e.what();
    }
    // Every child is waited for, whatever happened here: none may outlive
    // the test and meet the next one's file.
    for (pid_t pid : children) {
        int status = 0;
        EXPECT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    }
    ASSERT_EQ(parentError, "");
    KeywordStore store(path.string());
    // Filled once, whoever came first.
    EXPECT_EQ(store.TableRows(KeywordTable::Function).size(), BuiltinVocabulary()[1].rows.size());
    EXPECT_EQ(store.TableRows(KeywordTable::Main).size(), BuiltinVocabulary()[0].rows.size() + 5);
    EXPECT_TRUE(store.TableRows(KeywordTable::Public).empty());
}

// The same file opened for reading only, as the engine opens a file whose
// permissions refuse writing: it works, only the shared tables stay as
// they are. This runs as root too.
TEST_F(SharedStoreFile, AFileOpenedForReadingOnlyStillServes)
{
    MadeStore();
    SQLite::Database watcher(path.string(), SQLite::OPEN_READONLY);
    const long long before = DataVersion(watcher);
    KeywordStore store(path.string(), StoreAccess::ReadOnly);
    EXPECT_TRUE(store.ReadOnly());
    EXPECT_NE(store.ReadOnlyReason().find("readonly"), std::string::npos) << store.ReadOnlyReason();
    std::string name = "ubound";
    EXPECT_EQ(store.LookupKeyword(name), kBuiltinFunction);
    EXPECT_GT(LoadDemo(store), 1u);
    EXPECT_FALSE(store.TableRows(KeywordTable::Public).empty());
    EXPECT_EQ(SnapshotDiffersFromUnion(store), "");
    EXPECT_THROW(store.ReplaceKeyword(KeywordTable::Main, "Zebra", "", kKeyword), SQLite::Exception);
    EXPECT_EQ(DataVersion(watcher), before);
    // Another editor that can write still changes the vocabulary, and this
    // one sees it.
    KeywordStore writer(path.string());
    writer.ReplaceKeyword(KeywordTable::Main, "Zebra", "", kKeyword);
    store.RefreshKeywords();
    name = "zebra";
    EXPECT_EQ(store.LookupKeyword(name), kKeyword);
}

// No journal and no write-ahead index can be made beside the file (here a
// link to nowhere stands in their place, which stops root as well as
// anyone): every write fails, even reading needs the index; the file is
// still read as it is.
TEST_F(SharedStoreFile, AFileWhoseLogCannotBeMadeIsReadAsItIs)
{
    // A folder name that must be escaped to reach the engine as a URI.
    const fs::path folder = scratch / "关键字 #1?%20&mode=rw";
    fs::create_directories(folder);
    const std::string store = (folder / "main.db").string();
    KeywordStore(store).ReplaceKeyword(KeywordTable::Main, "Zebra", "", kKeyword);
    fs::create_symlink(scratch / "no" / "such" / "folder", folder / "main.db-shm");
    EXPECT_EQ(CheckReadOnlyStore(store), "");
    KeywordStore again(store);
    std::string name = "zebra";
    EXPECT_EQ(again.LookupKeyword(name), kKeyword);
    EXPECT_FALSE(fs::exists(folder / "main.db-wal") && fs::file_size(folder / "main.db-wal") > 0);
}

// The same for a file an older version left with a rollback journal.
TEST_F(SharedStoreFile, AnOldFileWhoseJournalCannotBeMadeIsReadAsItIs)
{
    {
        MadeStore();
        SQLite::Database db(path.string(), SQLite::OPEN_READWRITE);
        db.exec("pragma journal_mode=delete");
    }
    fs::create_symlink(scratch / "no" / "such" / "folder", scratch / "main.db-journal");
    EXPECT_EQ(CheckReadOnlyStore(path.string()), "");
    SQLite::Database db(path.string(), SQLite::OPEN_READONLY);
    EXPECT_EQ(db.execAndGet("pragma journal_mode").getString(), "delete");
}

// The reported faults: main.db read-only by its mode, or by its folder.
// File modes do not bind root, so as root the checks run as `nobody`.
TEST_F(SharedStoreFile, AFileWithoutWritePermissionIsReadOnly)
{
    MadeStore();
    fs::permissions(scratch.Path(), fs::perms::all);  // only the file refuses
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const auto answer = WithoutRootRights([&] { return CheckReadOnlyStore(path.string()); });
    if (!answer)
        GTEST_SKIP() << "running as root, and the rights of root cannot be given up here";
    EXPECT_EQ(*answer, "");
}

TEST_F(SharedStoreFile, AFileInAReadOnlyFolderIsReadOnly)
{
    MadeStore();
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read
                              | fs::perms::group_write | fs::perms::others_read | fs::perms::others_write);
    fs::permissions(scratch.Path(), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read
                                        | fs::perms::group_exec | fs::perms::others_read
                                        | fs::perms::others_exec);
    const auto answer = WithoutRootRights([&] { return CheckReadOnlyStore(path.string()); });
    fs::permissions(scratch.Path(), fs::perms::owner_all);
    if (!answer)
        GTEST_SKIP() << "running as root, and the rights of root cannot be given up here";
    EXPECT_EQ(*answer, "");
}

// A file that cannot be written and holds no vocabulary cannot be used: the
// in-memory store stands in with the built-in vocabulary.
TEST_F(SharedStoreFile, AnUnusableFileGivesTheInMemoryFallback)
{
    qasp::testing::WriteAll(path, "");
    EXPECT_THROW(KeywordStore(path.string(), StoreAccess::ReadOnly), std::runtime_error);
    OpenedKeywordStore opened = OpenKeywordStoreOrFallback(path.string(), StoreAccess::ReadOnly);
    EXPECT_EQ(opened.state, StoreState::Fallback);
    EXPECT_NE(opened.reason.find("no vocabulary"), std::string::npos) << opened.reason;
    ASSERT_TRUE(opened.store);
    EXPECT_EQ(opened.store->Path(), ":memory:");
    EXPECT_FALSE(opened.store->ReadOnly());
    std::string name = "response";
    EXPECT_EQ(opened.store->LookupKeyword(name), kKeyword);
    EXPECT_GT(LoadDemo(*opened.store), 1u);

    // A folder in the file's place, and a file that is no database.
    opened = OpenKeywordStoreOrFallback(scratch.Path().string());
    EXPECT_EQ(opened.state, StoreState::Fallback);
    EXPECT_FALSE(opened.reason.empty());
    qasp::testing::WriteAll(path, std::string(4096, '\x5A'));
    opened = OpenKeywordStoreOrFallback(path.string());
    EXPECT_EQ(opened.state, StoreState::Fallback);
    EXPECT_NE(opened.reason.find("not a database"), std::string::npos) << opened.reason;
}

TEST_F(SharedStoreFile, OpeningSaysWhatTheFileCameTo)
{
    OpenedKeywordStore opened = OpenKeywordStoreOrFallback(path.string());
    EXPECT_EQ(opened.state, StoreState::Writable);
    EXPECT_EQ(opened.reason, "");
    EXPECT_EQ(opened.store->Path(), path.string());
    opened = OpenKeywordStoreOrFallback(path.string(), StoreAccess::ReadOnly);
    EXPECT_EQ(opened.state, StoreState::ReadOnly);
    EXPECT_EQ(opened.reason, opened.store->ReadOnlyReason());
}

// A damaged file that still opens would serve bitten-off words ("Dae" for
// "Date"): the built-in vocabulary stands in, and the user is told why.
TEST_F(SharedStoreFile, ADamagedFileGivesTheInMemoryFallback)
{
    {
        KeywordStore made(path.string());
    }
    std::string bytes = qasp::testing::ReadAll(path);
    // The table's row of a word, not the index's: the row no longer matches
    // its index entry.
    const size_t first = bytes.find("DateAdd");
    const size_t row = bytes.find("DateAdd", first + 1);
    ASSERT_NE(row, std::string::npos);
    bytes[row + 2] = 'x';
    qasp::testing::WriteAll(path, bytes);
    EXPECT_THROW(KeywordStore(path.string()), DamagedStore);
    OpenedKeywordStore opened = OpenKeywordStoreOrFallback(path.string());
    EXPECT_EQ(opened.state, StoreState::Fallback);
    EXPECT_NE(opened.reason.find("damaged"), std::string::npos) << opened.reason;
    std::string name = "DateAdd";
    EXPECT_NE(opened.store->LookupKeyword(name), 0);
}
