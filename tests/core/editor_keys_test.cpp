#include "editor/colour_table.h"
#include "project/document_assembly.h"
#include "editor/completion_acceptance.h"
#include "editor/editor_routines.h"
#include "editor/key_type.h"
#include "editor/keyword_store.h"
#include "editor/member_completion.h"
#include "editor/paused_live_edits.h"
#include "fake_completion_list.h"
#include "fake_window.h"
#include "gbk_literal.h"
#include "project/editor_keys.h"
#include "project/workspace.h"
#include "recording_prompter.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace qasp;
using qasp::testing::FakeCompletionList;
using qasp::testing::FakeWindow;
using qasp::testing::MemoryEditor;
using qasp::testing::RecordingPrompter;

namespace {

const ColourValue kCommentColour_ = ColourOfKeyType(7), kStringColour_ = ColourOfKeyType(8),
                  kPlainColour_ = ColourOfKeyType(-1);

class EditorKeysTest : public ::testing::Test {
protected:
    EditorKeysTest()
    {
        doc = tree.AddTopLevel("index.asp");
        tree.AttachRecord(doc, {"Dim gOld\r\nx = 1\r\n\r\n"});  // three lines, the last empty
        fn = tree.AddChild(doc, "Show(a)");
        tree.SetKind(fn, NodeKind::Procedure);
        tree.AttachRecord(fn, {"Function Show(a)\r\n\tShow = a\r\nEnd Function"});
        store.ReplaceKeyword(KeywordTable::Public, "Show", "Show(a)", kProjectFunction);
        store.RefreshKeywords();
        // These cases type with the option on: a word's end takes the
        // completion too. Off, it never does (see WordEndsTypeOnlyThemselvesByDefault).
        keys.SetCompleteOnWordEnd(true);
    }

    MemoryEditor &Memo() { return window.memo; }
    // Places the caret as a click would, and lets the handler see it.
    void Caret(size_t offset)
    {
        Memo().SetSelection(offset, 0);
        keys.CMemoSelectionChange();
    }
    // A character typed at the caret: key press, then the editor inserts it
    // unless it was swallowed; every change of the text reaches CMemoChange.
    void Type(char c)
    {
        if (!keys.CMemoKeyPress(static_cast<unsigned char>(c)))
            Memo().Type(std::string(1, c));
        ws.CMemoChange();
        keys.CMemoSelectionChange();
    }
    void Type(std::string_view text)
    {
        for (char c : text)
            Type(c);
    }

    ProjectTree tree;
    KeywordStore store{":memory:"};
    FakeWindow window;
    ProjectWorkspace ws{tree, store, window};
    FakeCompletionList list;
    RecordingPrompter prompter;
    EditorKeys keys{ws, list, prompter};
    TreeNode *doc, *fn;
};

}  // namespace

TEST(EditorRoutines, CaretLineTextAndQuotes)
{
    size_t position = 9;  // in "second"
    EXPECT_EQ(CaretLineText("first\r\nsecond\r\nthird", position), "second");
    EXPECT_EQ(position, 2u);
    position = 7;  // the start of the second line
    EXPECT_EQ(CaretLineText("first\r\nsecond", position), "second");
    EXPECT_EQ(position, 0u);
    EXPECT_EQ(CountQuotesBefore("a \"b\" \"c", 7), 3);
    EXPECT_EQ(CountQuotesBefore("a \"b\" \"c", 2), 0);
}

TEST(EditorRoutines, WordBeforeCaretStopsAtChineseCharacters)
{
    MemoryEditor memo;
    memo.Write("x = \xB0\x4C"
               "eft",
               0);  // a character ending in the byte of 'L'
    EXPECT_EQ(WordBeforeCaret(memo), "eft");
    memo.Write(" Res", 0);
    EXPECT_EQ(WordBeforeCaret(memo), "Res");
    memo.Write(" ", 0);
    EXPECT_EQ(WordBeforeCaret(memo), "");
}

TEST(PausedLiveEdits, PutsTheFlagBackAsItWasAfterAnExceptionToo)
{
    for (const bool live : {false, true})
        for (const bool fails : {false, true}) {
            MemoryEditor memo;
            memo.SetLive(live);
            try {
                PausedLiveEdits paused(memo);
                EXPECT_FALSE(memo.IsLive());
                if (fails)
                    throw std::runtime_error("a write failed");
            } catch (const std::runtime_error &) {
            }
            EXPECT_EQ(memo.IsLive(), live) << "live " << live << ", failing " << fails;
        }
}

TEST_F(EditorKeysTest, TypingColourFollowsTheContext)
{
    ws.SelectNode(doc);
    Caret(Memo().LineIndex(1) + 5);  // the end of "x = 1"
    Type(' ');
    EXPECT_EQ(Memo().InsertionColour(), kPlainColour_);
    Type('"');  // the opening quote
    EXPECT_EQ(Memo().InsertionColour(), kStringColour_);
    Type('a');  // inside the string: no list
    EXPECT_EQ(Memo().InsertionColour(), kStringColour_);
    EXPECT_FALSE(list.visible);
    Type('"');  // the closing quote
    EXPECT_EQ(Memo().InsertionColour(), kStringColour_);
    Type('&');  // after it: plain again
    EXPECT_EQ(Memo().InsertionColour(), kPlainColour_);
    // An apostrophe on a line holding code is no comment.
    Type('\'');
    EXPECT_EQ(Memo().InsertionColour(), kPlainColour_);
}

TEST_F(EditorKeysTest, CommentLinesAndEmptyLines)
{
    ws.SelectNode(doc);
    Caret(Memo().LineIndex(2));  // the empty last line
    Type('\'');
    EXPECT_EQ(Memo().InsertionColour(), kCommentColour_);
    Type('R');  // a comment line: no list
    EXPECT_EQ(Memo().InsertionColour(), kCommentColour_);
    EXPECT_FALSE(list.visible);
}

TEST_F(EditorKeysTest, TheListFollowsTheWordAndSpaceAcceptsIt)
{
    ws.SelectNode(doc);
    Caret(Memo().LineIndex(2));
    Type("rEs");
    ASSERT_TRUE(list.visible);
    EXPECT_EQ(list.items.front().caption, "Response");
    const int highlighted = list.highlighted;
    EXPECT_EQ(highlighted, 0);
    Type(' ');
    EXPECT_FALSE(list.visible);
    EXPECT_EQ(Memo().LineText(2), "Response ");  // the typed prefix replaced, the space typed after it
    EXPECT_EQ(Memo().ColourAt(2, "Response"), ColourOfKeyType(kKeyword));
    EXPECT_EQ(Memo().ColourAt(2, " "), kPlainColour_);
    EXPECT_EQ(window.status[2], GbkToUtf8(list.items.front().hint));
    EXPECT_EQ(doc->Text(), Memo().Text());
}

TEST_F(EditorKeysTest, AnAcceptedNameShowsItsHintInUtf8)
{
    store.ReplaceKeyword(KeywordTable::Public, "gOld", Gbk("数组上限:10"), kGlobalVariable);
    store.RefreshKeywords();
    ws.SelectNode(doc);
    Caret(Memo().LineIndex(2));
    Type("gO ");
    EXPECT_EQ(Memo().LineText(2), "gOld ");
    EXPECT_EQ(window.status[2], "数组上限:10");
}

TEST_F(EditorKeysTest, NoListAfterADigitAndOtherCharactersHideIt)
{
    ws.SelectNode(doc);
    Caret(Memo().LineIndex(2));
    Type("9L");
    EXPECT_FALSE(list.visible);
    Type(" Le");
    EXPECT_TRUE(list.visible);
    Type('(');
    EXPECT_FALSE(list.visible);
}

TEST_F(EditorKeysTest, UpAndDownWrapRoundOtherKeysHideOrPass)
{
    ws.SelectNode(doc);
    Caret(Memo().LineIndex(2));
    Type("Le");
    ASSERT_GE(list.Count(), 2);
    EXPECT_TRUE(keys.CMemoKeyDown(EditorKey::Up, false));
    EXPECT_EQ(list.highlighted, list.Count() - 1);
    EXPECT_TRUE(keys.CMemoKeyDown(EditorKey::Down, false));
    EXPECT_EQ(list.highlighted, 0);
    EXPECT_FALSE(keys.CMemoKeyDown(EditorKey::Home, false));
    EXPECT_TRUE(list.visible);
    EXPECT_FALSE(keys.CMemoKeyDown(EditorKey::Left, false));
    EXPECT_FALSE(list.visible);
}

TEST_F(EditorKeysTest, AChangedDimLineIsScannedWhenTheCaretLeavesIt)
{
    // A document's names are those of its server script.
    SetNodeText(*doc, "<% Dim gOld\r\nx = 1\r\n\r\n");
    ws.SelectNode(doc);
    Caret(Memo().LineIndex(0) + 11);  // the end of "<% Dim gOld"
    Type(", gNew");
    std::string name = "gnew";
    EXPECT_EQ(store.LookupKeyword(name), -1);  // not while the caret is on the line
    Caret(Memo().LineIndex(1));
    EXPECT_EQ(store.LookupKeyword(name), kGlobalVariable);
    EXPECT_EQ(Memo().ColourAt(0, "gNew"), ColourOfKeyType(kGlobalVariable));
    EXPECT_EQ(window.status[1], "行 2，列 1");

    // Moving over an unchanged Dim line scans nothing.
    store.ClearProjectNames();
    store.RefreshKeywords();
    Caret(Memo().LineIndex(0) + 2);
    Caret(Memo().LineIndex(1));
    EXPECT_EQ(store.LookupKeyword(name), -1);
}

TEST_F(EditorKeysTest, ChangingAFunctionHeadRenamesItsNode)
{
    ws.SelectNode(fn);
    Caret(Memo().LineIndex(0) + 15);  // before the ')' of "Function Show(a)"
    Type(", b");
    Caret(Memo().LineIndex(1));
    EXPECT_EQ(fn->DisplayText(), "Show(a, b)");
    const auto rows = store.TableRows(KeywordTable::Public);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].hint, "Show(a, b)");
}

TEST_F(EditorKeysTest, TabIndentsAndShiftTabOutdentsWholeLines)
{
    tree.AttachRecord(doc, {"a\r\n b\r\nc"});
    ws.SelectNode(doc);
    Memo().SetSelection(1, 6);  // from the end of "a" into "c"
    EXPECT_TRUE(keys.CMemoKeyDown(EditorKey::Tab, false));
    EXPECT_EQ(Memo().Text(), "\ta\r\n\t b\r\n\tc");
    EXPECT_EQ(doc->Text(), Memo().Text());
    EXPECT_EQ(Memo().SelectionStart(), 0u);
    EXPECT_EQ(Memo().SelectionLength(), Memo().Text().size());
    EXPECT_TRUE(keys.CMemoKeyPress('\t'));  // the tab character itself is swallowed
    EXPECT_TRUE(keys.CMemoKeyDown(EditorKey::Tab, true));
    EXPECT_TRUE(keys.CMemoKeyDown(EditorKey::Tab, true));
    EXPECT_EQ(Memo().Text(), "a\r\nb\r\nc");
    // Within one line Tab is ordinary typing.
    Memo().SetSelection(0, 1);
    EXPECT_FALSE(keys.CMemoKeyDown(EditorKey::Tab, false));
}

TEST_F(EditorKeysTest, F3SearchesOnAcrossTheProject)
{
    ws.SearchText = "show";
    ws.SelectNode(doc);
    EXPECT_TRUE(keys.CMemoKeyDown(EditorKey::F3, false));
    EXPECT_EQ(tree.Selected(), fn);
    EXPECT_EQ(Memo().SelectionStart(), 9u);
    EXPECT_TRUE(keys.CMemoKeyDown(EditorKey::F3, false));  // the next one in the same node
    EXPECT_EQ(Memo().SelectionStart(), 19u);
}

// A key that moves the caret ends the running undo step: what is typed
// after it is undone on its own. Other keys leave the run whole.
struct KeyStep {
    const char *name;
    EditorKey key;
    const char *leftAfterUndo;
};

class KeysAndUndoSteps : public EditorKeysTest, public ::testing::WithParamInterface<KeyStep> {};

TEST_P(KeysAndUndoSteps, OnlyCaretKeysEndTheTypingRun)
{
    ws.SelectNode(doc);
    Caret(Memo().LineIndex(2));  // the empty last line
    Type("12");
    keys.CMemoKeyDown(GetParam().key, false);
    Type("3");
    ASSERT_EQ(Memo().LineText(2), "123");
    ASSERT_TRUE(ws.Undo());
    EXPECT_EQ(Memo().LineText(2), GetParam().leftAfterUndo);
}

const KeyStep kKeySteps[] = {
    {"PageUp", EditorKey::PageUp, "12"}, {"PageDown", EditorKey::PageDown, "12"},
    {"End", EditorKey::End, "12"},       {"Home", EditorKey::Home, "12"},
    {"Left", EditorKey::Left, "12"},     {"Up", EditorKey::Up, "12"},
    {"Right", EditorKey::Right, "12"},   {"Down", EditorKey::Down, "12"},
    {"Tab", EditorKey::Tab, ""},         {"F3", EditorKey::F3, ""},
};

INSTANTIATE_TEST_SUITE_P(Keys, KeysAndUndoSteps, ::testing::ValuesIn(kKeySteps),
                         [](const auto &test) { return std::string(test.param.name); });

// The program's own writes into the editor pause the live flag; one that
// fails part way must not leave it off, or no later edit of the user's
// would reach the node.
enum class ProgramWrite { Completion, Indent, Undo };

class FailedProgramWrites : public EditorKeysTest, public ::testing::WithParamInterface<ProgramWrite> {};

TEST_P(FailedProgramWrites, LeaveTheEditorLive)
{
    ws.SelectNode(doc);
    Caret(Memo().LineIndex(2));
    Type("rEs");  // the list offers Response
    ASSERT_TRUE(list.visible);
    Memo().failWrites = true;
    switch (GetParam()) {
    case ProgramWrite::Completion: EXPECT_THROW(keys.CMemoKeyPress(' '), std::runtime_error); break;
    case ProgramWrite::Indent:
        Memo().SetSelection(0, Memo().LineIndex(1) + 2);
        EXPECT_THROW(keys.CMemoKeyDown(EditorKey::Tab, false), std::runtime_error);
        break;
    case ProgramWrite::Undo: EXPECT_THROW(ws.Undo(), std::runtime_error); break;
    }
    EXPECT_TRUE(Memo().IsLive());
    Memo().failWrites = false;
    Memo().SetSelection(Memo().Text().size(), 0);
    Type('x');
    EXPECT_EQ(doc->Text(), Memo().Text());
}

std::string NameOf(const ::testing::TestParamInfo<ProgramWrite> &info)
{
    switch (info.param) {
    case ProgramWrite::Completion: return "Completion";
    case ProgramWrite::Indent: return "Indent";
    case ProgramWrite::Undo: return "Undo";
    }
    return "Unknown";
}

INSTANTIATE_TEST_SUITE_P(Writes, FailedProgramWrites,
                         ::testing::Values(ProgramWrite::Completion, ProgramWrite::Indent,
                                           ProgramWrite::Undo),
                         NameOf);

// The list never eats a character: a character ending a word takes the
// highlighted item unless the word is already whole, and is typed itself.
TEST_F(EditorKeysTest, WordEndingCharactersAcceptAndAreTyped)
{
    store.ReplaceKeyword(KeywordTable::Public, "nPage", "", kGlobalVariable);
    store.ReplaceKeyword(KeywordTable::Public, "w", "", kGlobalVariable);
    store.RefreshKeywords();
    ws.SelectNode(doc);
    Caret(Memo().LineIndex(2));
    Type("If nPage > 1 Then nPage = 1");
    EXPECT_EQ(Memo().LineText(2), "If nPage > 1 Then nPage = 1");
    Type("\rw = w + 0");
    EXPECT_EQ(Memo().LineText(3), "w = w + 0");
    EXPECT_EQ(doc->Text(), Memo().Text());

    for (const char ender : std::string_view(" ().,=+-*/&<>:;\"")) {
        Type("\rrEs");
        ASSERT_TRUE(list.visible) << ender;
        Type(ender);
        EXPECT_EQ(list.visible, ender == '.') << ender;  // members follow the dot
        EXPECT_EQ(Memo().LineText(CaretRowCol(Memo()).row), std::string("Response") + ender);
        if (list.visible)
            Type(char(27));
    }
}

TEST_F(EditorKeysTest, EnterAndTabAcceptEscapeCloses)
{
    ws.SelectNode(doc);
    Caret(Memo().LineIndex(2));
    Type("rEs");
    ASSERT_TRUE(list.visible);
    EXPECT_TRUE(keys.CMemoKeyPress('\r'));
    EXPECT_EQ(Memo().LineText(2), "Response");
    EXPECT_EQ(Memo().LineCount(), 4);  // no line break after an accepted item
    Type(" rEs");
    EXPECT_TRUE(keys.CMemoKeyPress('\t'));
    EXPECT_EQ(Memo().LineText(2), "Response Response");
    Type(" rEs");
    EXPECT_TRUE(keys.CMemoKeyPress(27));
    EXPECT_FALSE(list.visible);
    Type(' ');
    EXPECT_EQ(Memo().LineText(2), "Response Response rEs ");
    // A whole word: Enter breaks the line, Tab is typed.
    Type("Response");
    ASSERT_TRUE(list.visible);
    Type('\t');
    Type("Response");
    Type('\r');
    EXPECT_EQ(Memo().LineText(2), "Response Response rEs Response\tResponse");
    EXPECT_EQ(Memo().LineText(3), "");
    EXPECT_EQ(doc->Text(), Memo().Text());
}

TEST_F(EditorKeysTest, EnterIndentsAfterOpenersAndClosersStepBack)
{
    for (const char *name : {"a", "b", "c", "i", "x", "z"})
        store.ReplaceKeyword(KeywordTable::Public, name, "", kGlobalVariable);
    store.RefreshKeywords();
    tree.AttachRecord(doc, {""});
    ws.SelectNode(doc);
    Caret(0);
    Type("Function F(a)\rIf a Then\rFor i = 1 To 2\rx = i\rNext\rElse\rx = 0\rEnd If\rEnd Function");
    EXPECT_EQ(Memo().Text(), "Function F(a)\r\n"
                             "\tIf a Then\r\n"
                             "\t\tFor i = 1 To 2\r\n"
                             "\t\t\tx = i\r\n"
                             "\t\tNext\r\n"
                             "\tElse\r\n"
                             "\t\tx = 0\r\n"
                             "\tEnd If\r\n"
                             "End Function");
    EXPECT_EQ(doc->Text(), Memo().Text());
    // Else stepped back once; the If typed onto it does not step it again.
    Type("\r\tIf b Then\rz = 1\rElseIf c Then\rz = 2");
    EXPECT_EQ(Memo().LineText(11), "\tElseIf c Then");
    EXPECT_EQ(Memo().LineText(12), "\t\tz = 2");
    // Undo takes back the typing, the indents with it.
    while (ws.Undo()) {}
    EXPECT_EQ(Memo().Text(), "");
}

TEST_F(EditorKeysTest, ShiftTabOutdentsTheCaretLineAsOneStep)
{
    tree.AttachRecord(doc, {"a\r\n\t\tb = 1\r\n    c"});
    ws.SelectNode(doc);
    Caret(Memo().LineIndex(1) + 4);
    EXPECT_TRUE(keys.CMemoKeyDown(EditorKey::Tab, true));
    EXPECT_EQ(Memo().LineText(1), "\tb = 1");
    EXPECT_EQ(Memo().SelectionStart(), Memo().LineIndex(1) + 3);  // beside the same character
    EXPECT_EQ(doc->Text(), Memo().Text());
    Caret(Memo().LineIndex(2) + 5);
    EXPECT_TRUE(keys.CMemoKeyDown(EditorKey::Tab, true));
    EXPECT_EQ(Memo().LineText(2), "c");                    // four spaces are one step
    EXPECT_TRUE(keys.CMemoKeyDown(EditorKey::Tab, true));  // nothing left: swallowed all the same
    EXPECT_EQ(Memo().LineText(2), "c");
    ASSERT_TRUE(ws.Undo());
    EXPECT_EQ(Memo().LineText(2), "    c");
    ASSERT_TRUE(ws.Undo());
    EXPECT_EQ(Memo().LineText(1), "\t\tb = 1");
}

TEST_F(EditorKeysTest, CommentTogglingIsOneUndoStep)
{
    tree.AttachRecord(doc, {"If a Then\r\n\tx = 1\r\n\r\nEnd If"});
    ws.SelectNode(doc);
    Memo().SetSelection(2, Memo().LineIndex(3) + 2);
    keys.ToggleComments();
    EXPECT_EQ(Memo().Text(), "'If a Then\r\n\t'x = 1\r\n\r\n'End If");
    EXPECT_EQ(doc->Text(), Memo().Text());
    EXPECT_EQ(Memo().SelectionStart(), 0u);
    EXPECT_EQ(Memo().SelectionLength(), Memo().Text().size());
    keys.ToggleComments();
    EXPECT_EQ(Memo().Text(), "If a Then\r\n\tx = 1\r\n\r\nEnd If");
    ASSERT_TRUE(ws.Undo());
    EXPECT_EQ(Memo().Text(), "'If a Then\r\n\t'x = 1\r\n\r\n'End If");
    ASSERT_TRUE(ws.Undo());
    EXPECT_EQ(Memo().Text(), "If a Then\r\n\tx = 1\r\n\r\nEnd If");
    EXPECT_FALSE(ws.Undo());

    // Without a selection the caret's line, the caret beside its character.
    Caret(Memo().LineIndex(1) + 3);
    keys.ToggleComments();
    EXPECT_EQ(Memo().LineText(1), "\t'x = 1");
    EXPECT_EQ(Memo().SelectionStart(), Memo().LineIndex(1) + 4);
    EXPECT_EQ(Memo().ColourAt(1, "'x"), kCommentColour_);
}

TEST_F(EditorKeysTest, ANewNameIsLeftAsTyped)
{
    ws.SelectNode(doc);
    Caret(Memo().LineIndex(2));
    Type("Function Re(rE, Le)");
    EXPECT_EQ(Memo().LineText(2), "Function Re(rE, Le)");
    Type("\rDim Le, vb\rFor Each Le In rEs ");
    EXPECT_EQ(Memo().LineText(3), "\tDim Le, vb");  // Enter leaves a new name too
    EXPECT_EQ(Memo().LineText(4), "\tFor Each Le In Response ");
}

TEST(CompletionAcceptance, WordEndersAndDeclarations)
{
    for (const char32_t c : std::u32string_view(U" ().,=+-*/&<>:;\""))
        EXPECT_TRUE(EndsAWord(c)) << static_cast<char>(c);
    for (const char32_t c : std::u32string_view(U"a_1'!#[\u4e2d"))
        EXPECT_FALSE(EndsAWord(c)) << static_cast<int>(c);
    EXPECT_TRUE(NamesSomethingNew("Dim a, "));
    EXPECT_TRUE(NamesSomethingNew("  Private Sub "));
    EXPECT_TRUE(NamesSomethingNew("Public "));
    EXPECT_TRUE(NamesSomethingNew("For "));
    EXPECT_TRUE(NamesSomethingNew("For Each "));
    EXPECT_FALSE(NamesSomethingNew("For i = "));
    EXPECT_FALSE(NamesSomethingNew("Const A = "));
    EXPECT_FALSE(NamesSomethingNew("x = "));
    EXPECT_FALSE(NamesSomethingNew(""));
    EXPECT_FALSE(NamesSomethingNew("' Dim "));
    FakeCompletionList list;
    list.AddItem("Response", "", 0);
    EXPECT_TRUE(IsWholeWordOfList(list, "rESPONSE"));
    EXPECT_FALSE(IsWholeWordOfList(list, "Resp"));
}

TEST_F(EditorKeysTest, MembersFollowADotAfterObjectsAndCreatedVariables)
{
    tree.AttachRecord(doc, {"<% Set rs = Server.CreateObject(\"ADODB.Recordset\")\r\n"
                            "set  oDict=server.createobject( \"scripting.dictionary\" )\r\n"});
    ws.SelectNode(doc);
    Memo().SetSelection(Memo().Text().size(), 0);
    Type("Response.");
    ASSERT_TRUE(list.visible);
    EXPECT_EQ(list.items.front().caption, "AddHeader");  // in order of name
    Type("wr(");
    EXPECT_EQ(Memo().LineText(2), "Response.Write(");
    EXPECT_EQ(window.status[2], "Response.Write(字符串)：向页面输出文本");

    Type("\rrs.mo");
    ASSERT_TRUE(list.visible);
    std::vector<std::string> captions;
    for (const auto &item : list.items)
        captions.push_back(item.caption);
    EXPECT_EQ(captions,
              (std::vector<std::string>{"Move", "MoveFirst", "MoveLast", "MoveNext", "MovePrevious"}));
    EXPECT_EQ(list.items.front().icon, kBuiltinFunction);
    Type("ven\r");
    EXPECT_EQ(Memo().LineText(3), "rs.MoveNext");

    Type("\roDict.");
    ASSERT_TRUE(list.visible);
    EXPECT_EQ(list.items.front().caption, "Add");
    Type(27);
    Type("\rnobody.");
    EXPECT_FALSE(list.visible);
    EXPECT_EQ(doc->Text(), Memo().Text());
}

TEST(MemberCompletion, ObjectsAndTheirVariables)
{
    const std::string text = "Set conn = Server.CreateObject(\"ADODB.Connection\")\r\n"
                             "Set fso = Server.CreateObject(\"Scripting.FileSystemObject\")\r\n"
                             "Set conn = Server.CreateObject(\"ADODB.Command\")\r\n"
                             "Set x = Server.CreateObject(\"Other.Thing\")\r\n"
                             "reset y = Server.CreateObject(\"ADODB.Recordset\")\r\n";
    EXPECT_EQ(ObjectNamed("ERR", ""), "Err");
    EXPECT_EQ(ObjectNamed("Application", ""), "Application");
    EXPECT_EQ(ObjectNamed("FSO", text), "Scripting.FileSystemObject");
    EXPECT_EQ(ObjectNamed("conn", text), "ADODB.Command");  // the last Set counts
    EXPECT_EQ(ObjectNamed("x", text), std::nullopt);        // not in the table
    EXPECT_EQ(ObjectNamed("y", text), std::nullopt);        // no Set
    EXPECT_EQ(ObjectNamed("fso", ""), std::nullopt);        // not yet set
    EXPECT_EQ(WordBeforeDot("x = rs."), "rs");
    EXPECT_EQ(WordBeforeDot("x = rs"), "");
    EXPECT_EQ(WordBeforeDot("."), "");
}

TEST_F(EditorKeysTest, WordEndsTypeOnlyThemselvesByDefault)
{
    keys.SetCompleteOnWordEnd(false);
    ws.SelectNode(doc);
    Caret(doc->Text().size());
    Type("Sh");
    EXPECT_TRUE(list.IsVisible());
    Type(" ");
    EXPECT_FALSE(list.IsVisible());
    EXPECT_EQ(doc->Text(), "Dim gOld\r\nx = 1\r\n\r\nSh ");
    Type("Sh\t");
    EXPECT_EQ(doc->Text(), "Dim gOld\r\nx = 1\r\n\r\nSh Show");
}
