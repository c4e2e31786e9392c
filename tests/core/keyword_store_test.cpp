#include "editor/builtin_vocabulary.h"
#include "editor/key_type.h"
#include "editor/keyword_store.h"
#include "text/byte_string.h"

#include <gtest/gtest.h>

#include <SQLiteCpp/Exception.h>

#include <filesystem>
#include <fstream>
#include <set>

using namespace qasp;

namespace {

std::vector<std::string> Names(const std::vector<const KeywordRow *> &rows)
{
    std::vector<std::string> out;
    for (const KeywordRow *r : rows)
        out.push_back(r->name);
    return out;
}

class KeywordStoreTest : public ::testing::Test {
protected:
    KeywordStore store{":memory:"};
};

}  // namespace

TEST_F(KeywordStoreTest, RowsWrittenStayInvisibleUntilRefresh)
{
    store.ReplaceKeyword("Key_Public", "gCount", "变量", kGlobalVariable);
    std::string name = "gcount";
    EXPECT_EQ(store.LookupKeyword(name), -1);
    EXPECT_TRUE(store.ListKeywords("gc").empty());
    store.RefreshKeywords();
    EXPECT_EQ(store.LookupKeyword(name), kGlobalVariable);
    EXPECT_EQ(name, "gCount");
    EXPECT_EQ(Names(store.ListKeywords("GC")), std::vector<std::string>{"gCount"});
}

// The snapshot is rebuilt only from the tables written since the last
// refresh; after any mix of writes it must equal the engine's own union.
TEST_F(KeywordStoreTest, RefreshFromChangedTablesEqualsTheEnginesUnion)
{
    const auto same = [&] {
        const KeywordSnapshot engine(store.UnionRowsBySql());
        const auto &a = store.Snapshot().Rows();
        const auto &b = engine.Rows();
        if (a.size() != b.size()) {
            ADD_FAILURE() << a.size() << " rows against " << b.size();
            return false;
        }
        for (size_t i = 0; i < a.size(); ++i)
            if (a[i].name != b[i].name || a[i].hint != b[i].hint || a[i].type != b[i].type) {
                ADD_FAILURE() << i << ": " << a[i].name << "|" << a[i].hint << "|" << a[i].type << " vs "
                              << b[i].name << "|" << b[i].hint << "|" << b[i].type;
                return false;
            }
        return true;
    };
    const char *const names[] = {"Left", "left", "LEFT", "gCount", "GCOUNT", "x", "X1", "Response",
                                 "\xD6\xD0" "a", "\xD6\xD0" "A", "zz", "Zz_"};
    const char *const hints[] = {"变量", "a.asp", "A.ASP", "", "Left(string, length)"};
    const char *const tables[] = {"Key_Public", "Key_Other", "Key_Main", "Key_Function"};
    unsigned seed = 7;
    const auto next = [&seed](unsigned n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % n;
    };
    for (int round = 0; round < 400; ++round) {
        const std::string table = tables[next(4)];
        switch (next(4)) {
        case 0:
            store.ExecuteStatement("insert into " + table + " (key_name,key_hint,key_type) values (?,?,?)",
                                   {names[next(12)], hints[next(5)], std::to_string(next(9))});
            break;
        case 1:
            store.ReplaceKeyword(table, names[next(12)], hints[next(5)], static_cast<int>(next(9)));
            break;
        case 2:
            store.ExecuteStatement("delete from " + table + " where key_name=?", {names[next(12)]});
            break;
        default:
            store.ExecuteStatement("Delete From Key_Other");
            break;
        }
        if (next(3) == 0) {
            store.RefreshKeywords();
            ASSERT_TRUE(same()) << "after round " << round;
        }
    }
    store.RefreshKeywords();
    EXPECT_TRUE(same());
}

TEST(KeywordStoreFile, AnotherConnectionsWritesAreSeenAtTheNextRefresh)
{
    const auto path = std::filesystem::temp_directory_path() / "qasp_store_two_connections.db";
    std::filesystem::remove(path);
    {
        KeywordStore first(path.string());
        KeywordStore second(path.string());
        second.ReplaceKeyword("Key_Main", "Zebra", "from elsewhere", kKeyword);
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
    store.ReplaceKeyword("Key_Public", "x", "变量", kLocalVariable);
    store.ReplaceKeyword("Key_Other", "X", "变量", kLocalVariable);
    store.ReplaceKeyword("Key_Public", "yy", "变量", kGlobalVariable);
    store.ReplaceKeyword("Key_Other", "yy", "变量", kLocalVariable);
    store.RefreshKeywords();
    std::string x = "x", y = "yy";
    EXPECT_EQ(store.LookupKeyword(x), kLocalVariable);
    EXPECT_EQ(store.LookupKeyword(y), -1);
    EXPECT_EQ(y, "yy");
    EXPECT_EQ(store.ListKeywords("yy").size(), 2u);
}

TEST_F(KeywordStoreTest, ReplaceLeavesOneRowWithTheNewSpelling)
{
    store.ReplaceKeyword("Key_Public", "total", "变量", kGlobalVariable);
    store.ReplaceKeyword("key_public", "TOTAL", "常量值:3", kGlobalConstant);
    const auto rows = store.TableRows("Key_Public");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].name, "TOTAL");
    EXPECT_EQ(rows[0].hint, "常量值:3");
    EXPECT_EQ(rows[0].type, kGlobalConstant);
}

TEST_F(KeywordStoreTest, QuotesInNamesAndHintsAreDataNotSyntax)
{
    const std::string name = "a\"b'c";
    const std::string hint = "常量值:\"); delete from key_main; --";
    store.ReplaceKeyword("Key_Public", name, hint, kGlobalConstant);
    store.ExecuteStatement("delete from Key_Public where key_hint=?", {hint});
    EXPECT_TRUE(store.TableRows("Key_Public").empty());
    EXPECT_FALSE(store.TableRows("Key_Main").empty());
}

TEST_F(KeywordStoreTest, PrefixListingFollowsRowOrderAndIsLiteral)
{
    store.ReplaceKeyword("Key_Other", "Re_x", "变量", kLocalVariable);
    store.ReplaceKeyword("Key_Other", "Rex", "变量", kLocalVariable);
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
    const auto rows = store.TableRows("Key_Public");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].name, "ShowList");
    EXPECT_EQ(rows[0].hint, "ShowList(a, b)");
    EXPECT_EQ(rows[0].type, kProjectFunction);
}

TEST_F(KeywordStoreTest, MisusedStatementsAreErrorsNotSilence)
{
    EXPECT_THROW(store.ExecuteStatement("delete from Key_Public where key_hint=?"),
                 std::invalid_argument);
    EXPECT_THROW(store.ReplaceKeyword("key_secret", "a", "", 2), std::invalid_argument);
    EXPECT_THROW(store.ExecuteStatement("delete from no_such_table"), SQLite::Exception);
}

TEST_F(KeywordStoreTest, BatchCommitsRowsWrittenBeforeAnError)
{
    try {
        KeywordStore::Batch batch(store);
        store.ReplaceKeyword("Key_Public", "kept", "变量", kGlobalVariable);
        store.ExecuteStatement("delete from no_such_table");
        batch.Commit();
    } catch (const SQLite::Exception &) {
    }
    EXPECT_EQ(store.TableRows("Key_Public").size(), 1u);
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
        store.ReplaceKeyword("Key_Main", "Zebra", "", kKeyword);
        store.ReplaceKeyword("Key_Public", "siteName", "常量", kGlobalConstant);
    }
    {
        KeywordStore store(path.string());
        std::string name = "ZEBRA";
        EXPECT_EQ(store.LookupKeyword(name), kKeyword);
        name = "SITENAME";
        EXPECT_EQ(store.LookupKeyword(name), -1);
        EXPECT_TRUE(store.TableRows("key_public").empty());
        const size_t builtins = store.TableRows("key_function").size();
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
    const char *functions[] = {
        "Abs", "Array", "Asc", "AscB", "AscW", "Atn", "CBool", "CByte", "CCur", "CDate", "CDbl",
        "Chr", "ChrB", "ChrW", "CInt", "CLng", "Cos", "CreateObject", "CSng", "CStr", "Date",
        "DateAdd", "DateDiff", "DatePart", "DateSerial", "DateValue", "Day", "Escape", "Eval",
        "Exp", "Filter", "Fix", "FormatCurrency", "FormatDateTime", "FormatNumber",
        "FormatPercent", "GetLocale", "GetObject", "GetRef", "Hex", "Hour", "InputBox", "InStr",
        "InStrB", "InStrRev", "Int", "IsArray", "IsDate", "IsEmpty", "IsNull", "IsNumeric",
        "IsObject", "Join", "LBound", "LCase", "Left", "LeftB", "Len", "LenB", "LoadPicture",
        "Log", "LTrim", "Mid", "MidB", "Minute", "Month", "MonthName", "MsgBox", "Now", "Oct",
        "Replace", "RGB", "Right", "RightB", "Rnd", "Round", "RTrim", "ScriptEngine",
        "ScriptEngineBuildVersion", "ScriptEngineMajorVersion", "ScriptEngineMinorVersion",
        "Second", "SetLocale", "Sgn", "Sin", "Space", "Split", "Sqr", "StrComp", "String",
        "StrReverse", "Tan", "Time", "Timer", "TimeSerial", "TimeValue", "Trim", "TypeName",
        "UBound", "UCase", "Unescape", "VarType", "Weekday", "WeekdayName", "Year"};
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
    for (const char *word : {"Response", "Request", "Server", "Session", "Application",
                             "ObjectContext", "ASPError", "Write", "Redirect", "QueryString",
                             "Form", "ServerVariables", "Cookies", "MapPath", "HTMLEncode",
                             "Abandon", "Dim", "ReDim", "Const", "Function", "Sub", "ElseIf",
                             "Wend", "Loop", "Mod", "Xor", "Eqv", "Imp", "Is", "Nothing",
                             "vbCrLf", "Class", "Property"}) {
        std::string name = word;
        EXPECT_NE(store.LookupKeyword(name), -1) << word;
    }
}
