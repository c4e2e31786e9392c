// A small site written as real sites are (HTML around the script, a Sub
// spanning server blocks, includes in several forms, GBK and UTF-8, CR LF
// and LF) loaded, edited and saved: every byte not edited stays.
#include "editor/keyword_store.h"
#include "gbk_literal.h"
#include "project/asp_loader.h"
#include "project/asp_writer.h"
#include "project/document_assembly.h"
#include "project/site_editing.h"
#include "project/site_save.h"
#include "recording_prompter.h"
#include "site/page_flattening.h"
#include "site_builder.h"
#include "tree_outline.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace qasp;
using namespace qasp::testing;
namespace fs = std::filesystem;

namespace {

const std::string kIndex = Gbk("<%@ Language=VBScript CodePage=936 %>\r\n"
                               "<!-- #include file=\"inc/conn.asp\" -->\r\n"
                               "<html><body>\r\n"
                               "<% Dim total\r\n"
                               "total = Add(1, 2) %>\r\n"
                               "<p><%= total %></p>\r\n"
                               "<% Sub Header() %>\r\n"
                               "<h1>标题</h1>\r\n"
                               "<% End Sub %>\r\n"
                               "<%\r\n"
                               "Function Add(a, b)\r\n"
                               "    Add = a + b\r\n"
                               "End Function\r\n"
                               "%>\r\n"
                               "</body></html>\r\n");
const std::string kConn = "<!--#INCLUDE virtual=\"/lib/util.asp\"-->\n"
                          "<!--#include file=\"missing.asp\"-->\n"
                          "<%\nDim conn\nPrivate Function Open()\n  Open = 1\nEnd Function\n%>\n";
const std::string kUtil = "\xEF\xBB\xBF<%\r\nConst TITLE = \"\xE4\xB8\xAD\xE6\x96\x87\"\r\n"
                          "Sub Note(s)\r\nEnd Sub\r\n%>\r\n";

class SiteModelTest : public ::testing::Test {
protected:
    SiteModelTest()
    {
        MakeSite(
            root,
            {{"global.asa", ""}, {"index.asp", kIndex}, {"inc/conn.asp", kConn}, {"lib/util.asp", kUtil}});
        LoadAspDocument(tree, nullptr, root / "index.asp", store, context);
    }

    std::vector<std::string> Outline() const { return qasp::testing::Outline(tree); }
    TreeNode *Node(const std::string &name) const
    {
        for (TreeNode *n = tree.FirstTopLevel(); n; n = tree.NextInPreOrder(n))
            if (n->DisplayText() == name)
                return n;
        return nullptr;
    }
    SaveResult Save() { return SaveSite(tree, context.siteRoot, prompter, OverwritePolicy::Refuse); }

    ScratchDir scratch{"site_model"};
    const fs::path root = scratch.Path();
    ProjectTree tree;
    KeywordStore store{":memory:"};
    LoadContext context;
    RecordingPrompter prompter;
};

}  // namespace

TEST_F(SiteModelTest, TheTreeShowsEveryFileAndProcedureInFileOrder)
{
    EXPECT_EQ(Outline(),
              (std::vector<std::string>{"D index.asp", "  D inc/conn.asp", "    D /lib/util.asp",
                                        "      F Note(s)", "    F Open()", "  F Header()", "  F Add(a, b)"}));
    EXPECT_EQ(context.siteRoot, fs::canonical(root));
    // The document shows the whole page, its procedures included.
    EXPECT_EQ(Node("index.asp")->Text(), kIndex);
    // A Sub spanning server blocks takes the HTML between them; the
    // delimiters on its first and last lines stay in the document.
    EXPECT_EQ(Node("Header()")->Text(), Gbk("Sub Header() %>\r\n<h1>标题</h1>\r\n<% End Sub"));
    // Each file in its own encoding and line ends; node texts break lines with CR LF.
    EXPECT_EQ(Node("/lib/util.asp")->Encoding(), TextEncoding::Utf8);
    EXPECT_EQ(Node("index.asp")->Encoding(), TextEncoding::Gbk);
    EXPECT_EQ(Node("inc/conn.asp")->Doc()->LineBreaks(), LineEnds::Lf);
    EXPECT_EQ(Node("Open()")->Text(), "Private Function Open()\r\n  Open = 1\r\nEnd Function\r\n");
}

TEST_F(SiteModelTest, EveryDirectiveIsListedAndTheMissingOneSkippedWithItsReason)
{
    ASSERT_EQ(context.includes.size(), 3u);
    EXPECT_EQ(context.includes[0].file, "index.asp");
    EXPECT_EQ(context.includes[0].line, 2);
    EXPECT_EQ(context.includes[0].skipped, "");
    EXPECT_EQ(context.includes[1].kind, IncludeKind::Virtual);
    EXPECT_EQ(context.includes[1].target, "/lib/util.asp");
    EXPECT_EQ(context.includes[2].target, "missing.asp");
    EXPECT_EQ(context.includes[2].skipped, "missing");
    EXPECT_TRUE(std::any_of(context.warnings.begin(), context.warnings.end(),
                            [](const std::string &w) { return w.find("missing.asp") != std::string::npos; }));
}

TEST_F(SiteModelTest, NamesOfEveryScriptBlockAreDeclaredButNotOfHtml)
{
    store.RefreshKeywords();
    for (std::string name : {"total", "conn", "TITLE", "Add", "Header", "Note", "Open"})
        EXPECT_GE(store.LookupKeyword(name), 0) << name;
    std::string html = "body";
    EXPECT_LT(store.LookupKeyword(html), 0);
}

TEST_F(SiteModelTest, SavingWithoutEditsTouchesNoFile)
{
    for (const char *file : {"index.asp", "inc/conn.asp", "lib/util.asp"})
        fs::last_write_time(root / file, fs::file_time_type::clock::now() - std::chrono::hours(1));
    const auto before = fs::last_write_time(root / "index.asp");
    EXPECT_TRUE(ChangedDocuments(tree).empty());
    EXPECT_EQ(Save().outcome, SaveOutcome::Saved);
    EXPECT_EQ(fs::last_write_time(root / "index.asp"), before);
    EXPECT_EQ(ReadAll(root / "inc/conn.asp"), kConn);
    EXPECT_EQ(ReadAll(root / "lib/util.asp"), kUtil);
}

TEST_F(SiteModelTest, AnEditOfOneFunctionChangesOnlyItsBytes)
{
    TreeNode *add = Node("Add(a, b)");
    SetNodeText(*add, "Function Add(a, b)\r\n    Add = a + b + 0\r\nEnd Function\r\n");
    TreeNode *open = Node("Open()");
    SetNodeText(*open, "Private Function Open()\r\n  Open = 2\r\nEnd Function\r\n");
    EXPECT_EQ(ChangedDocuments(tree).size(), 2u);
    EXPECT_EQ(Save().outcome, SaveOutcome::Saved);
    std::string index = kIndex;
    index.replace(index.find("a + b"), 5, "a + b + 0");
    EXPECT_EQ(ReadAll(root / "index.asp"), index);
    // The LF file stays LF.
    std::string conn = kConn;
    conn.replace(conn.find("Open = 1"), 8, "Open = 2");
    EXPECT_EQ(ReadAll(root / "inc/conn.asp"), conn);
    EXPECT_EQ(ReadAll(root / "lib/util.asp"), kUtil);
    EXPECT_TRUE(ChangedDocuments(tree).empty());
}

TEST_F(SiteModelTest, ProceduresKeepTheirPlacesWhileTheDocumentAroundThemIsEdited)
{
    TreeNode *index = Node("index.asp");
    std::string text(index->Text());
    // A line typed before the functions, then the closing HTML changed: one
    // change at a time, as the editor reports them.
    text.insert(text.find("<html>"), "<!-- top -->\r\n");
    SetNodeText(*index, text);
    text.replace(text.find("</body>"), 7, "</BODY>");
    SetNodeText(*index, text);
    std::string expected = kIndex;
    expected.insert(expected.find("<html>"), "<!-- top -->\r\n");
    expected.replace(expected.find("</body>"), 7, "</BODY>");
    EXPECT_EQ(FileBytesOf(*index), expected);
}

TEST_F(SiteModelTest, NewFunctionsGoAtTheEndOfTheLastScriptBlock)
{
    TreeNode *util = Node("/lib/util.asp");
    TreeNode *fn = tree.AddChild(util, "F()");
    tree.SetKind(fn, NodeKind::Procedure);
    tree.AttachRecord(fn);
    PlaceProcedure(*fn, *util, "Function F()\r\nEnd Function\r\n");
    EXPECT_EQ(fn->Text(), "Function F()\r\nEnd Function\r\n");
    EXPECT_EQ(FileBytesOf(*util), "\xEF\xBB\xBF<%\r\nConst TITLE = \"\xE4\xB8\xAD\xE6\x96\x87\"\r\n"
                                  "Sub Note(s)\r\nEnd Sub\r\nFunction F()\r\nEnd Function\r\n%>\r\n");
    // A page without script gets a block of its own.
    TreeNode *plain = tree.AddChild(Node("index.asp"), "plain.asp");
    tree.AttachRecord(plain, {"<p>only HTML</p>"});
    TreeNode *g = tree.AddChild(plain, "G()");
    tree.SetKind(g, NodeKind::Procedure);
    tree.AttachRecord(g);
    PlaceProcedure(*g, *plain, "Sub G()\r\nEnd Sub");
    EXPECT_EQ(FileBytesOf(*plain), "<p>only HTML</p>\r\n<%\r\nSub G()\r\nEnd Sub\r\n%>\r\n");
}

TEST_F(SiteModelTest, DeletingADocumentTakesItsDirectiveLineOutOfTheIncludingFile)
{
    TreeNode *conn = Node("inc/conn.asp");
    ASSERT_TRUE(RemoveIncludeDirective(*conn));
    tree.Delete(conn);
    std::string expected = kIndex;
    expected.erase(expected.find("<!-- #include"),
                   std::string("<!-- #include file=\"inc/conn.asp\" -->\r\n").size());
    EXPECT_EQ(FileBytesOf(*Node("index.asp")), expected);
    // The removal is one undo step of the including document.
    EXPECT_TRUE(Node("index.asp")->Doc()->CanUndo());
}

TEST_F(SiteModelTest, MovingAFunctionMovesItsBytesIntoTheOtherFile)
{
    TreeNode *log = Node("Note(s)");
    TreeNode *conn = Node("inc/conn.asp");
    ASSERT_TRUE(MoveNodeWithText(tree, log, conn));
    EXPECT_EQ(FileBytesOf(*Node("/lib/util.asp")),
              "\xEF\xBB\xBF<%\r\nConst TITLE = \"\xE4\xB8\xAD\xE6\x96\x87\"\r\n%>\r\n");
    // Written in the LF file's line ends.
    EXPECT_EQ(FileBytesOf(*conn), "<!--#INCLUDE virtual=\"/lib/util.asp\"-->\n"
                                  "<!--#include file=\"missing.asp\"-->\n"
                                  "<%\nDim conn\nPrivate Function Open()\n  Open = 1\nEnd Function\n"
                                  "Sub Note(s)\nEnd Sub\n%>\n");
}

TEST_F(SiteModelTest, FlattenReplacesEachDirectiveByItsFileAndLeavesTheMissingOne)
{
    const FlattenResult flat = FlattenPage(root / "index.asp", SiteRoot(root));
    std::string conn = kConn;
    conn.replace(0, conn.find('\n'), kUtil);
    std::string expected = kIndex;
    const std::string directive = "<!-- #include file=\"inc/conn.asp\" -->";
    expected.replace(expected.find(directive), directive.size(), conn);
    EXPECT_EQ(flat.bytes, expected);
    ASSERT_EQ(flat.warnings.size(), 1u);
    EXPECT_NE(flat.warnings[0].find("missing.asp"), std::string::npos);
}

// The demo is written in the project layout: editing a function's body and
// saving the site gives the bytes the layout writer gives.
TEST(SiteModelLayout, APageInTheLayoutSavesAsTheLayoutWriterWritesIt)
{
    ScratchDir scratch{"site_model_layout"};
    fs::copy(QASP_DEMO_DIR, scratch.Path(), fs::copy_options::recursive);
    ProjectTree tree;
    KeywordStore store{":memory:"};
    LoadContext context;
    const bool header = LoadAspDocument(tree, nullptr, scratch / "index.asp", store, context);
    for (TreeNode *n = tree.FirstTopLevel(); n; n = tree.NextInPreOrder(n)) {
        if (n->IsDocument())
            continue;
        std::string text(n->Text());
        text.insert(text.find("\r\n") + 2, "    ' edited\r\n");
        SetNodeText(*n, text);
    }
    for (TreeNode *n = tree.FirstTopLevel(); n; n = tree.NextInPreOrder(n)) {
        if (n->IsDocument()) {
            EXPECT_EQ(FileBytesOf(*n), AspDocumentBytes(*n, header && n == tree.FirstTopLevel()))
                << n->DisplayText();
        }
    }
}
