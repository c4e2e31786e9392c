#include "editor/builtin_vocabulary.h"
#include "editor/declaration_scan.h"
#include "editor/key_type.h"
#include "editor/keyword_store.h"
#include "scratch_dir.h"
#include "text/byte_string.h"

#include <gtest/gtest.h>

#include <SQLiteCpp/Exception.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>

using namespace qasp;

namespace {

std::vector<std::string> Names(const std::vector<const KeywordRow *> &rows)
{
    std::vector<std::string> out;
    out.reserve(rows.size());
    for (const KeywordRow *r : rows)
        out.push_back(r->name);
    return out;
}

bool SameRow(const KeywordRow &a, const KeywordRow &b)
{
    return a.name == b.name && a.hint == b.hint && a.type == b.type;
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
        if (!SameRow(a[i], b[i]))
            return std::to_string(i) + ": " + a[i].name + "|" + a[i].hint + "|" + std::to_string(a[i].type)
                   + " vs " + b[i].name + "|" + b[i].hint + "|" + std::to_string(b[i].type);
    return {};
}

// The lower-cased names whose rows differ between two snapshots.
std::set<std::string> NamesThatDiffer(const std::vector<KeywordRow> &a, const std::vector<KeywordRow> &b)
{
    std::map<std::string, std::vector<KeywordRow>> rowsOf;
    for (const KeywordRow &r : a)
        rowsOf[LowerAscii(r.name)].push_back(r);
    std::map<std::string, std::vector<KeywordRow>> otherRowsOf;
    for (const KeywordRow &r : b)
        otherRowsOf[LowerAscii(r.name)].push_back(r);
    std::set<std::string> out;
    for (const auto &[name, rows] : rowsOf)
        if (otherRowsOf[name] != rows)
            out.insert(name);
    for (const auto &[name, rows] : otherRowsOf)
        if (rowsOf[name] != rows)
            out.insert(name);
    return out;
}

constexpr KeywordTable kAllTables[] = {KeywordTable::Main, KeywordTable::Function, KeywordTable::Public,
                                       KeywordTable::Other};

class KeywordStoreTest : public ::testing::Test {
protected:
    KeywordStore store{":memory:"};
};

}  // namespace

TEST_F(KeywordStoreTest, RowsWrittenStayInvisibleUntilRefresh)
{
    store.ReplaceKeyword(KeywordTable::Public, "gCount", "变量", kGlobalVariable);
    std::string name = "gcount";
    EXPECT_EQ(store.LookupKeyword(name), -1);
    EXPECT_TRUE(store.ListKeywords("gc").empty());
    store.RefreshKeywords();
    EXPECT_EQ(store.LookupKeyword(name), kGlobalVariable);
    EXPECT_EQ(name, "gCount");
    EXPECT_EQ(Names(store.ListKeywords("GC")), std::vector<std::string>{"gCount"});
}

// The snapshot is rebuilt only from the tables written since the last
// refresh, or only for the names written; after any mix of writes it must
// equal the engine's own union, and the changes it reports must be exactly
// the names whose rows changed.
TEST_F(KeywordStoreTest, RefreshFromChangedTablesEqualsTheEnginesUnion)
{
    const char *const names[] = {"Left",
                                 "left",
                                 "LEFT",
                                 "gCount",
                                 "GCOUNT",
                                 "x",
                                 "X1",
                                 "Response",
                                 "\xD6\xD0"  // NOLINT(bugprone-suspicious-missing-comma): ends the hex escape
                                 "a",
                                 "\xD6\xD0"
                                 "A",
                                 "zz",
                                 "Zz_"};
    const char *const hints[] = {"变量", "a.asp", "A.ASP", "", "Left(string, length)"};
    unsigned seed = 7;
    const auto next = [&seed](unsigned n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % n;
    };
    int byName = 0;
    for (int round = 0; round < 400; ++round) {
        switch (next(8)) {
        case 0: store.RemoveFunction(hints[next(5)]); break;
        case 1: store.ClearLocals(); break;
        case 2:
            if (next(4) == 0)  // rarely, or key_public would stay nearly empty
                store.ClearProjectNames();
            break;
        default:
            store.ReplaceKeyword(kAllTables[next(4)], names[next(12)], hints[next(5)],
                                 static_cast<int>(next(9)));
            break;
        }
        if (next(3) == 0) {
            const std::vector<KeywordRow> before = store.Snapshot().Rows();
            store.RefreshKeywords();
            ASSERT_EQ(SnapshotDiffersFromUnion(store), "") << "after round " << round;
            const KeywordStore::Changes &changes = store.LastChanges();
            if (!changes.all) {
                ++byName;
                const std::set<std::string> reported(changes.names.begin(), changes.names.end());
                ASSERT_EQ(reported, NamesThatDiffer(before, store.Snapshot().Rows()))
                    << "after round " << round;
            }
        }
    }
    store.RefreshKeywords();
    EXPECT_EQ(SnapshotDiffersFromUnion(store), "");
    EXPECT_GT(byName, 50) << "the refresh by name was hardly tried";
}

// Each write marks the one table it changed, and no other: the refresh
// reads that table again (a missed mark would leave the snapshot behind the
// engine) and keeps the others' rows as they were read.
namespace {

struct TableWrite {
    const char *name;
    std::function<void(KeywordStore &)> write;
    KeywordTable changed;
};

void PrintTo(const TableWrite &w, std::ostream *os)
{
    *os << w.name;
}

const TableWrite kTableWrites[] = {
    {"ReplaceInKeyMain", [](KeywordStore &s) { s.ReplaceKeyword(KeywordTable::Main, "Zebra", "", kKeyword); },
     KeywordTable::Main},
    {"ReplaceInKeyFunction",
     [](KeywordStore &s) { s.ReplaceKeyword(KeywordTable::Function, "Left", "Left(s)", kBuiltinFunction); },
     KeywordTable::Function},
    {"ReplaceInKeyPublic",
     [](KeywordStore &s) { s.ReplaceKeyword(KeywordTable::Public, "gNew", "变量", kGlobalVariable); },
     KeywordTable::Public},
    {"ReplaceInKeyOther",
     [](KeywordStore &s) { s.ReplaceKeyword(KeywordTable::Other, "gShared", "变量", kLocalVariable); },
     KeywordTable::Other},
    {"ClearLocals", [](KeywordStore &s) { s.ClearLocals(); }, KeywordTable::Other},
    {"ClearProjectNames", [](KeywordStore &s) { s.ClearProjectNames(); }, KeywordTable::Public},
    {"RemoveFunction", [](KeywordStore &s) { s.RemoveFunction("SHOW(a)"); }, KeywordTable::Public},
    {"RegisterFunction", [](KeywordStore &s) { RegisterFunctionKeyword(s, "Function Other(b)"); },
     KeywordTable::Public},
    {"ScanGlobals", [](KeywordStore &s) { ScanDeclarations(s, KeywordTable::Public, "Dim gScanned"); },
     KeywordTable::Public},
    {"ScanLocals", [](KeywordStore &s) { ScanDeclarations(s, KeywordTable::Other, "Dim scanned"); },
     KeywordTable::Other},
};

class EachWriteMarksItsTable : public KeywordStoreTest, public ::testing::WithParamInterface<TableWrite> {};

}  // namespace

TEST_P(EachWriteMarksItsTable, AndTheSnapshotFollowsTheEngine)
{
    // Rows in both of the project's tables, one name in both.
    store.ReplaceKeyword(KeywordTable::Public, "Show", "Show(a)", kProjectFunction);
    store.ReplaceKeyword(KeywordTable::Public, "gShared", "变量", kGlobalVariable);
    store.ReplaceKeyword(KeywordTable::Other, "local", "变量", kLocalVariable);
    store.RefreshKeywords();
    const std::vector<KeywordRow> before = store.Snapshot().Rows();

    GetParam().write(store);
    for (const KeywordTable t : kAllTables)
        EXPECT_EQ(store.IsStale(t), t == GetParam().changed) << KeywordTableName(t);
    store.RefreshKeywords();
    for (const KeywordTable t : kAllTables)
        EXPECT_FALSE(store.IsStale(t)) << KeywordTableName(t);
    EXPECT_EQ(SnapshotDiffersFromUnion(store), "");
    const std::vector<KeywordRow> &after = store.Snapshot().Rows();
    EXPECT_FALSE(std::equal(before.begin(), before.end(), after.begin(), after.end(), SameRow))
        << "the write changed nothing the snapshot shows";
}

INSTANTIATE_TEST_SUITE_P(Writes, EachWriteMarksItsTable, ::testing::ValuesIn(kTableWrites),
                         [](const auto &test) { return std::string(test.param.name); });

TEST(KeywordStoreFile, AnotherConnectionsWritesAreSeenAtTheNextRefresh)
{
    const auto path = std::filesystem::temp_directory_path() / "qasp_store_two_connections.db";
    std::filesystem::remove(path);
    {
        KeywordStore first(path.string());
        KeywordStore second(path.string());
        second.ReplaceKeyword(KeywordTable::Main, "Zebra", "from elsewhere", kKeyword);
        first.RefreshKeywords();
        std::string name = "zebra";
        EXPECT_EQ(first.LookupKeyword(name), kKeyword);
    }
    std::filesystem::remove(path);
    std::filesystem::remove(path.string() + "-wal");
    std::filesystem::remove(path.string() + "-shm");
}

TEST_F(KeywordStoreTest, LookupIgnoresCaseAndHandsBackTheStoredSpelling)
{
    std::string name = "RESPONSE";
    EXPECT_EQ(store.LookupKeyword(name), kKeyword);
    EXPECT_EQ(name, "Response");
    name = "ubound";
    EXPECT_EQ(store.LookupKeyword(name), kBuiltinFunction);
    EXPECT_EQ(name, "UBound");
}

TEST_F(KeywordStoreTest, EqualRowsInTwoTablesAreOneRowDifferentOnesHideTheName)
{
    store.ReplaceKeyword(KeywordTable::Public, "x", "变量", kLocalVariable);
    store.ReplaceKeyword(KeywordTable::Other, "X", "变量", kLocalVariable);
    store.ReplaceKeyword(KeywordTable::Public, "yy", "变量", kGlobalVariable);
    store.ReplaceKeyword(KeywordTable::Other, "yy", "变量", kLocalVariable);
    store.RefreshKeywords();
    std::string x = "x", y = "yy";
    EXPECT_EQ(store.LookupKeyword(x), kLocalVariable);
    EXPECT_EQ(store.LookupKeyword(y), -1);
    EXPECT_EQ(y, "yy");
    EXPECT_EQ(store.ListKeywords("yy").size(), 2u);
}

TEST_F(KeywordStoreTest, ReplaceLeavesOneRowWithTheNewSpelling)
{
    store.ReplaceKeyword(KeywordTable::Public, "total", "变量", kGlobalVariable);
    store.ReplaceKeyword(KeywordTable::Public, "TOTAL", "常量值:3", kGlobalConstant);
    const auto rows = store.TableRows(KeywordTable::Public);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].name, "TOTAL");
    EXPECT_EQ(rows[0].hint, "常量值:3");
    EXPECT_EQ(rows[0].type, kGlobalConstant);
}

TEST_F(KeywordStoreTest, QuotesInNamesAndHintsAreDataNotSyntax)
{
    const std::string name = "a\"b'c";
    const std::string hint = "常量值:\"); delete from key_main; --";
    store.ReplaceKeyword(KeywordTable::Public, name, hint, kGlobalConstant);
    store.RemoveFunction(hint);
    EXPECT_TRUE(store.TableRows(KeywordTable::Public).empty());
    EXPECT_FALSE(store.TableRows(KeywordTable::Main).empty());
}

TEST_F(KeywordStoreTest, PrefixListingFollowsRowOrderAndIsLiteral)
{
    store.ReplaceKeyword(KeywordTable::Other, "Re_x", "变量", kLocalVariable);
    store.ReplaceKeyword(KeywordTable::Other, "Rex", "变量", kLocalVariable);
    store.RefreshKeywords();
    const auto all = store.ListKeywords("re");
    ASSERT_FALSE(all.empty());
    for (const KeywordRow *r : all)
        EXPECT_TRUE(StartsWithNoCase(r->name, "re")) << r->name;
    for (size_t i = 1; i < all.size(); ++i)
        EXPECT_LE(LowerAscii(all[i - 1]->name), LowerAscii(all[i]->name));
    // '_' is an ordinary character here, not a wildcard.
    EXPECT_EQ(Names(store.ListKeywords("re_")), std::vector<std::string>{"Re_x"});
}

TEST_F(KeywordStoreTest, FunctionRegistrationKeepsThePrototypeAsHint)
{
    EXPECT_EQ(RegisterFunctionKeyword(store, "  Function ShowList(a, b)"), "ShowList(a, b)");
    const auto rows = store.TableRows(KeywordTable::Public);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].name, "ShowList");
    EXPECT_EQ(rows[0].hint, "ShowList(a, b)");
    EXPECT_EQ(rows[0].type, kProjectFunction);
}

TEST_F(KeywordStoreTest, ATableOutsideTheFourIsAnErrorNotSilence)
{
    const auto secret = static_cast<KeywordTable>(9);
    EXPECT_THROW(store.ReplaceKeyword(secret, "a", "", 2), std::invalid_argument);
    EXPECT_THROW(store.TableRows(secret), std::invalid_argument);
    EXPECT_THROW(KeywordTableName(secret), std::invalid_argument);
}

TEST(KeywordStoreFile, BatchCommitsRowsWrittenBeforeAnError)
{
    // A read-only store refuses the write to key_main after key_public took
    // its row.
    const qasp::testing::ScratchDir scratch("store_batch");
    const std::string path = (scratch / "main.db").string();
    {
        KeywordStore made(path);
    }
    KeywordStore store(path, StoreAccess::ReadOnly);
    try {
        KeywordStore::Batch batch(store);
        store.ReplaceKeyword(KeywordTable::Public, "kept", "变量", kGlobalVariable);
        store.ReplaceKeyword(KeywordTable::Main, "Zebra", "", kKeyword);
        batch.Commit();
        ADD_FAILURE() << "a read-only store took a row into key_main";
    } catch (const SQLite::Exception &) {
    }
    EXPECT_EQ(store.TableRows(KeywordTable::Public).size(), 1u);
}

// The file keeps the shared vocabulary across runs; the project's names
// belong to the process that read the project and end with it.
TEST(KeywordStoreFile, CreatedFilledAndKeptAcrossRuns)
{
    const auto path = std::filesystem::temp_directory_path() / "qasp_store_test.db";
    std::filesystem::remove(path);
    {
        KeywordStore store(path.string());
        EXPECT_FALSE(store.ReadOnly());
        store.ReplaceKeyword(KeywordTable::Main, "Zebra", "", kKeyword);
        store.ReplaceKeyword(KeywordTable::Public, "siteName", "常量", kGlobalConstant);
    }
    {
        KeywordStore store(path.string());
        std::string name = "ZEBRA";
        EXPECT_EQ(store.LookupKeyword(name), kKeyword);
        name = "SITENAME";
        EXPECT_EQ(store.LookupKeyword(name), -1);
        EXPECT_TRUE(store.TableRows(KeywordTable::Public).empty());
        const size_t builtins = store.TableRows(KeywordTable::Function).size();
        EXPECT_EQ(builtins, BuiltinVocabulary()[1].rows.size());  // not filled twice
    }
    std::filesystem::remove(path);
    std::filesystem::remove(path.string() + "-wal");
    std::filesystem::remove(path.string() + "-shm");
}

TEST(KeywordStoreFile, ACorruptFileGivesTheEngineMessage)
{
    const auto path = std::filesystem::temp_directory_path() / "qasp_corrupt_test.db";
    std::ofstream(path, std::ios::binary) << std::string(4096, '\x5A');
    try {
        KeywordStore store(path.string());
        FAIL() << "a corrupt store opened";
    } catch (const SQLite::Exception &e) {
        EXPECT_NE(std::string(e.what()).find("not a database"), std::string::npos) << e.what();
    }
    std::filesystem::remove(path);
}

TEST(BuiltinVocabulary, NamesAreUniqueAcrossBothTables)
{
    std::set<std::string> seen;
    for (const VocabularyTable &table : BuiltinVocabulary())
        for (const KeywordRow &row : table.rows)
            EXPECT_TRUE(seen.insert(LowerAscii(row.name)).second) << row.name;
    // A name in two rows would be looked up as unknown and never coloured.
    KeywordStore store(":memory:");
    for (const VocabularyTable &table : BuiltinVocabulary())
        for (const KeywordRow &row : table.rows) {
            std::string name = row.name;
            EXPECT_EQ(store.LookupKeyword(name), row.type) << row.name;
        }
}

TEST(BuiltinVocabulary, HoldsEveryVBScriptFunctionWithASignature)
{
    const char *functions[] = {"Abs",
                               "Array",
                               "Asc",
                               "AscB",
                               "AscW",
                               "Atn",
                               "CBool",
                               "CByte",
                               "CCur",
                               "CDate",
                               "CDbl",
                               "Chr",
                               "ChrB",
                               "ChrW",
                               "CInt",
                               "CLng",
                               "Cos",
                               "CreateObject",
                               "CSng",
                               "CStr",
                               "Date",
                               "DateAdd",
                               "DateDiff",
                               "DatePart",
                               "DateSerial",
                               "DateValue",
                               "Day",
                               "Escape",
                               "Eval",
                               "Exp",
                               "Filter",
                               "Fix",
                               "FormatCurrency",
                               "FormatDateTime",
                               "FormatNumber",
                               "FormatPercent",
                               "GetLocale",
                               "GetObject",
                               "GetRef",
                               "Hex",
                               "Hour",
                               "InputBox",
                               "InStr",
                               "InStrB",
                               "InStrRev",
                               "Int",
                               "IsArray",
                               "IsDate",
                               "IsEmpty",
                               "IsNull",
                               "IsNumeric",
                               "IsObject",
                               "Join",
                               "LBound",
                               "LCase",
                               "Left",
                               "LeftB",
                               "Len",
                               "LenB",
                               "LoadPicture",
                               "Log",
                               "LTrim",
                               "Mid",
                               "MidB",
                               "Minute",
                               "Month",
                               "MonthName",
                               "MsgBox",
                               "Now",
                               "Oct",
                               "Replace",
                               "RGB",
                               "Right",
                               "RightB",
                               "Rnd",
                               "Round",
                               "RTrim",
                               "ScriptEngine",
                               "ScriptEngineBuildVersion",
                               "ScriptEngineMajorVersion",
                               "ScriptEngineMinorVersion",
                               "Second",
                               "SetLocale",
                               "Sgn",
                               "Sin",
                               "Space",
                               "Split",
                               "Sqr",
                               "StrComp",
                               "String",
                               "StrReverse",
                               "Tan",
                               "Time",
                               "Timer",
                               "TimeSerial",
                               "TimeValue",
                               "Trim",
                               "TypeName",
                               "UBound",
                               "UCase",
                               "Unescape",
                               "VarType",
                               "Weekday",
                               "WeekdayName",
                               "Year"};
    KeywordStore store(":memory:");
    for (const char *f : functions) {
        std::string name = f;
        EXPECT_EQ(store.LookupKeyword(name), kBuiltinFunction) << f;
        EXPECT_EQ(name, f);
    }
    for (const KeywordRow &row : BuiltinVocabulary()[1].rows)
        EXPECT_NE(row.hint.find(row.name), std::string::npos) << row.name;
    const auto left = store.ListKeywords("Left");
    ASSERT_FALSE(left.empty());
    EXPECT_EQ(left[0]->hint.rfind("Left(string, length)", 0), 0u) << left[0]->hint;
}

TEST(BuiltinVocabulary, HoldsTheAspObjectsAndTheStatements)
{
    KeywordStore store(":memory:");
    for (const char *word :
         {"Response", "Request",  "Server",     "Session",     "Application", "ObjectContext",
          "ASPError", "Write",    "Redirect",   "QueryString", "Form",        "ServerVariables",
          "Cookies",  "MapPath",  "HTMLEncode", "Abandon",     "Dim",         "ReDim",
          "Const",    "Function", "Sub",        "ElseIf",      "Wend",        "Loop",
          "Mod",      "Xor",      "Eqv",        "Imp",         "Is",          "Nothing",
          "vbCrLf",   "Class",    "Property"}) {
        std::string name = word;
        EXPECT_NE(store.LookupKeyword(name), -1) << word;
    }
}
