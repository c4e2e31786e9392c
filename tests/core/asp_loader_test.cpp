#include "editor/key_type.h"
#include "editor/keyword_store.h"
#include "gbk_literal.h"
#include "project/asp_loader.h"
#include "project/document_assembly.h"
#include "project/include_path.h"
#include "project/node_script.h"
#include "scratch_dir.h"
#include "tree_outline.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include <unistd.h>

using namespace qasp;
using qasp::testing::WriteAll;
namespace fs = std::filesystem;

namespace {

class LoaderTest : public ::testing::Test {
protected:
    LoaderTest()
    {
        fs::create_directories(dir / "inc");
        context.siteRoot = dir.string();
    }

    void Write(const std::string &name, const std::string &bytes)
    {
        std::ofstream(dir / name, std::ios::binary) << bytes;
    }
    bool Load(const std::string &name, TreeNode *parent = nullptr)
    {
        return LoadAspDocument(tree, parent, dir / name, store, context);
    }
    std::vector<std::string> Outline() const { return qasp::testing::Outline(tree); }

    qasp::testing::ScratchDir scratch{"loader"};
    const fs::path dir = scratch.Path();
    ProjectTree tree;
    KeywordStore store{":memory:"};
    LoadContext context;
};

}  // namespace

TEST_F(LoaderTest, APageInTheProjectLayoutGivesTheTreeItAlwaysGave)
{
    const std::string index = "<%@codepage=936%>\r\n<%Option Explicit%>\r\n<!--#include file=\"b.asp\"-->\r\n"
                              "old text\r\n<%\r\nDim a, z  \r\n  <!--#include file=\"no.asp\"-->\r\n"
                              "  Function Show(x)\r\n\tDim y\r\n\r\nEnd Function\r\nPrivate Function P\r\n"
                              "%>\r\nafter the end\r\nfunction Never()\r\n";
    Write("index.asp", index);
    Write("b.asp", "<%\nconst K = 1\nFUNCTION Open(a, b)\nend function\n%>");
    EXPECT_TRUE(Load("index.asp"));
    EXPECT_EQ(Outline(),
              (std::vector<std::string>{"D index.asp", "  D b.asp", "    F Open(a, b)", "  F Show(x)"}));
    TreeNode *root = tree.FirstTopLevel();
    // The document is its whole file; outside its functions, a directive
    // inside a script block is script text, a head without its End stays
    // text too.
    EXPECT_EQ(root->Text(), index);
    std::string page = index;
    page.erase(page.find("  Function Show"),
               std::string("  Function Show(x)\r\n\tDim y\r\n\r\nEnd Function\r\n").size());
    EXPECT_EQ(TextOutsideProcedures(*root), page);
    EXPECT_EQ(root->Record()->Info, Gbk("链接ASP文件:1个;函数:1个"));
    TreeNode *show = root->Children()[1].get();
    EXPECT_EQ(show->Text(), "  Function Show(x)\r\n\tDim y\r\n\r\nEnd Function\r\n");
    EXPECT_EQ(show->Record()->Info, Gbk("启始行数:8"));
    const auto rows = store.TableRows(KeywordTable::Public);
    ASSERT_EQ(rows.size(), 5u);  // Open, K, Show, a, z
    EXPECT_EQ(rows[0].name, "Open");
    EXPECT_EQ(rows[0].hint, "Open(a, b)");
    EXPECT_EQ(rows[0].type, kProjectFunction);
    EXPECT_EQ(FileBytesOf(*root), index);
}

TEST_F(LoaderTest, EveryByteIsKeptAndNodeTextsBreakLinesWithCrLf)
{
    // LF, a lone CR, no final line end, a Ctrl-Z in the middle.
    const std::string bytes = "Dim a\nx = 1\r+ 2\r\nDim b\x1a"
                              "Dim c";
    Write("a.asp", bytes);
    EXPECT_FALSE(Load("a.asp"));
    EXPECT_EQ(tree.FirstTopLevel()->Text(), "Dim a\r\nx = 1\r\n+ 2\r\nDim b\x1a"
                                            "Dim c");
    EXPECT_EQ(tree.FirstTopLevel()->Doc()->LineBreaks(), LineEnds::Mixed);
    EXPECT_EQ(FileBytesOf(*tree.FirstTopLevel()), bytes);
}

TEST_F(LoaderTest, AHeadOutsideServerScriptIsHtml)
{
    Write("a.asp", "Function F()\r\n<%Option Explicit%>\r\n%>\r\n");
    EXPECT_TRUE(Load("a.asp"));
    EXPECT_TRUE(tree.FirstTopLevel()->Children().empty());
}

TEST_F(LoaderTest, IncludesResolveAsTheServerResolvesThem)
{
    Write("index.asp", "<!--#include file=\"inc\\Conn.ASP\"-->\r\n<!--#include virtual=\"inc/b.asp\"-->\r\n");
    // file= from the folder of the file holding it, virtual= from the site root.
    Write("inc/conn.asp", "<!--#include file=\"top.asp\"-->\r\n<!--#include virtual=\"/top.asp\"-->\r\n");
    Write("inc/b.asp", "<% Dim b %>\r\n");
    Write("inc/top.asp", "<% Dim t %>\r\n");
    Write("top.asp", "<% Dim r %>\r\n");
    Load("index.asp");
    EXPECT_EQ(Outline(), (std::vector<std::string>{"D index.asp", "  D inc\\Conn.ASP", "    D top.asp",
                                                   "    D /top.asp", "  D inc/b.asp"}));
    EXPECT_EQ(tree.NodeAt(2)->Record()->SourceFile, dir / "inc/top.asp");
    EXPECT_EQ(tree.NodeAt(3)->Record()->SourceFile, dir / "top.asp");
}

TEST_F(LoaderTest, IncludeCycleIsRefusedAndLoadingGoesOn)
{
    Write("a.asp", "<!--#include file=\"b.asp\"-->\r\nDim a\r\n");
    Write("b.asp", "<!--#include file=\"A.asp\"-->\r\nDim b\r\n");
    Load("a.asp");
    EXPECT_EQ(Outline(), (std::vector<std::string>{"D a.asp", "  D b.asp"}));
    ASSERT_EQ(context.warnings.size(), 1u);
    EXPECT_NE(context.warnings[0].find("b.asp -> A.asp"), std::string::npos) << context.warnings[0];
    EXPECT_EQ(tree.FirstTopLevel()->FirstChild()->Text(), "<!--#include file=\"A.asp\"-->\r\nDim b\r\n");
}

TEST_F(LoaderTest, IncludeWithoutAQuotedPathIsSkippedWithAWarning)
{
    Write("a.asp", "<!--#include file=nothing-->\r\nDim a\r\n");
    Load("a.asp");
    EXPECT_EQ(tree.Count(), 1);
    EXPECT_EQ(tree.FirstTopLevel()->Record()->Info, Gbk("链接ASP文件:1个;函数:0个"));
    EXPECT_EQ(context.warnings.size(), 1u);
}

// The server would fail on the missing file; the editor opens the page and
// says which directive it could not follow, so the rest can be edited.
TEST_F(LoaderTest, AMissingIncludeIsNamedWithItsLineAndTheRestLoads)
{
    Write("a.asp", "Dim a\r\n<!--#include file=\"b.asp\"-->\r\n");
    Write("b.asp", "Dim b\r\n<!--#include file=\"gone.asp\"-->\r\n<% Dim seen %>\r\n");
    Load("a.asp");
    EXPECT_EQ(Outline(), (std::vector<std::string>{"D a.asp", "  D b.asp"}));
    ASSERT_EQ(context.warnings.size(), 1u);
    EXPECT_NE(context.warnings[0].find("gone.asp"), std::string::npos) << context.warnings[0];
    EXPECT_NE(context.warnings[0].find("b.asp 第 2 行"), std::string::npos) << context.warnings[0];
    EXPECT_EQ(context.includes.back().skipped, "missing");
    store.RefreshKeywords();
    std::string seen = "seen";
    EXPECT_NE(store.LookupKeyword(seen), 0);
}

TEST_F(LoaderTest, AnIncludedFileOverTheLimitIsRefusedWithItsSize)
{
    Write("a.asp", "Dim a\r\n<!--#include file=\"dump.asp\"-->\r\n");
    Write("dump.asp", "Dim b\r\n");
    fs::resize_file(dir / "dump.asp", kMaxDocumentBytes + 1);  // sparse: nothing is written
    try {
        Load("a.asp");
        FAIL() << "a file over the limit loaded";
    } catch (const LoadError &e) {
        const std::string m = e.what();
        EXPECT_NE(m.find("dump.asp"), std::string::npos) << m;
        EXPECT_NE(m.find(std::to_string(kMaxDocumentBytes + 1) + " 字节"), std::string::npos) << m;
        EXPECT_NE(m.find("a.asp 第 2 行"), std::string::npos) << m;
    }
    // A file of exactly the limit is read.
    fs::resize_file(dir / "dump.asp", kMaxDocumentBytes);
    EXPECT_NO_THROW(Load("a.asp"));
}

TEST_F(LoaderTest, BinaryEmptyAndOddBytesLoadWithoutHarm)
{
    std::string binary(4096, '\0');
    for (size_t i = 0; i < binary.size(); ++i)
        binary[i] = static_cast<char>((i * 7919) % 251);
    Write("db.asa", binary);
    Write("empty.asp", "");
    Write("odd.asp", "x = \"\x80\xFE\xFE\xAA\xA1\"\r\n");
    // A binary file is refused with a message rather than shown as garbage.
    EXPECT_THROW(Load("db.asa"), LoadError);
    EXPECT_NO_THROW(Load("empty.asp"));
    Load("odd.asp");
    EXPECT_EQ(tree.TopLevel().back()->Text(), "x = \"\x80\xFE\xFE\xAA\xA1\"\r\n");
}

TEST_F(LoaderTest, LoadingARootEmptiesKeyPublicAddingUnderADocumentDoesNot)
{
    Write("a.asp", "<% Dim a %>\r\n");
    Write("b.asp", "<% Dim b %>\r\n");
    Load("a.asp");
    Load("b.asp", tree.FirstTopLevel());
    EXPECT_EQ(store.TableRows(KeywordTable::Public).size(), 2u);
    Load("b.asp");
    EXPECT_EQ(store.TableRows(KeywordTable::Public).size(), 1u);
}

// Each file includes the next one twice. Loading every inclusion again made
// a tree of 2^N documents; each file is read once, and its second inclusion
// is a node that shares the first one's record.
TEST_F(LoaderTest, AFileIncludedAgainIsReadOnceAndItsRepeatSharesTheRecord)
{
    constexpr int kFiles = 12;
    for (int i = 0; i < kFiles; ++i) {
        const std::string next = std::to_string(i + 1);
        std::string text;
        if (i + 1 < kFiles)
            text = "<!--#include file=\"f" + next + ".asp\"-->\r\n<!--#include file=\"F" + next
                   + ".ASP\"-->\r\n";
        Write("f" + std::to_string(i) + ".asp",
              text + "<%\r\nFunction G" + std::to_string(i) + "()\r\nEnd Function\r\n\r\n%>\r\n");
    }
    Load("f0.asp");
    EXPECT_EQ(tree.Count(), 3 * kFiles - 1);  // a document and a function a file, and the repeats
    int repeats = 0;
    for (TreeNode *n = tree.FirstTopLevel(); n; n = tree.NextInPreOrder(n)) {
        if (!n->IsRepeat())
            continue;
        ++repeats;
        const TreeNode *first = n->Parent()->FirstChild();
        EXPECT_FALSE(first->IsRepeat());
        EXPECT_EQ(n->Record(), first->Record());
        EXPECT_TRUE(n->Children().empty());
        EXPECT_EQ(n->DisplayText(),
                  "F" + first->DisplayText().substr(1, first->DisplayText().size() - 5) + ".ASP");
    }
    EXPECT_EQ(repeats, kFiles - 1);
    EXPECT_TRUE(context.warnings.empty());
}

// A file still being read when it is included again is a cycle; one read to
// its end is a repeat.
TEST_F(LoaderTest, ACycleIsSkippedAndAFinishedFileRepeated)
{
    Write("a.asp", "<!--#include file=\"b.asp\"-->\r\n<!--#include file=\"c.asp\"-->\r\n");
    Write("b.asp", "<!--#include file=\"inc/../c.asp\"-->\r\n");
    Write("c.asp", "<!--#include file=\"./a.asp\"-->\r\nDim c\r\n");
    Load("a.asp");
    EXPECT_EQ(Outline(),
              (std::vector<std::string>{"D a.asp", "  D b.asp", "    D inc/../c.asp", "  D c.asp"}));
    const TreeNode *root = tree.FirstTopLevel();
    EXPECT_TRUE(root->Children()[1]->IsRepeat());
    EXPECT_EQ(root->Children()[1]->Record(), root->FirstChild()->FirstChild()->Record());
    EXPECT_EQ(root->Children()[1]->Text(), "<!--#include file=\"./a.asp\"-->\r\nDim c\r\n");
    ASSERT_EQ(context.warnings.size(), 1u);
    EXPECT_NE(context.warnings[0].find("a.asp -> b.asp -> c.asp -> ./a.asp"), std::string::npos)
        << context.warnings[0];
}

TEST_F(LoaderTest, AChainThousandsOfFilesDeepLoadsAndItsCycleIsReportedShort)
{
    constexpr int kDepth = 5000;
    for (int i = 0; i < kDepth; ++i) {
        const std::string next = i + 1 < kDepth ? "c" + std::to_string(i + 1) + ".asp" : "c0.asp";
        Write("c" + std::to_string(i) + ".asp",
              "<!--#include file=\"" + next + "\"-->\r\n<%\r\nDim v" + std::to_string(i) + "\r\n%>\r\n");
    }
    Load("c0.asp");
    const TreeNode *deepest = tree.FirstTopLevel();
    int depth = 0;
    for (; deepest->FirstChild(); deepest = deepest->FirstChild())
        ++depth;
    EXPECT_EQ(depth, kDepth - 1);
    EXPECT_EQ(deepest->DisplayText(), "c" + std::to_string(kDepth - 1) + ".asp");
    EXPECT_EQ(store.TableRows(KeywordTable::Public).size(), size_t(kDepth));
    // The cycle back to the root names the first and the last files only.
    ASSERT_EQ(context.warnings.size(), 1u);
    const std::string &warning = context.warnings[0];
    EXPECT_NE(warning.find("c0.asp -> c1.asp -> … -> c4992.asp"), std::string::npos) << warning;
    EXPECT_NE(warning.find("c4999.asp -> c0.asp"), std::string::npos) << warning;
    EXPECT_LT(warning.size(), 1000u);
}

// The limits of a project: the bytes of its distinct files and its nodes.
struct LimitCase {
    const char *what;
    LoadLimits limits;
    std::string root;                       // a.asp; big1.asp and big2.asp hold 1.5 MiB each
    std::vector<std::string> messageParts;  // none: the load succeeds
};

void PrintTo(const LimitCase &c, std::ostream *os)
{
    *os << c.what;
}

constexpr std::uintmax_t kMiB = std::uintmax_t{1024} * 1024;

const LimitCase kLimitCases[] = {
    {"two big files cross the byte limit",
     {2 * kMiB, kMaxProjectNodes},
     "Dim a\r\n<!--#include file=\"big1.asp\"-->\r\n<!--#include file=\"big2.asp\"-->\r\n",
     {"2 MB 的上限", "big2.asp", "a.asp 第 3 行：<!--#include file=\"big2.asp\"-->"}},
    {"a big file included twice counts once",
     {2 * kMiB, kMaxProjectNodes},
     "<!--#include file=\"big1.asp\"-->\r\n<!--#include file=\"big1.asp\"-->\r\n",
     {}},
    {"a function line crosses the node limit",
     {kMaxProjectBytes, 3},
     "<!--#include file=\"two.asp\"-->\r\n",
     {"3 个的上限", "two.asp 第 3 行：Function D2()"}},
    {"a repeated inclusion is a node",
     {kMaxProjectBytes, 2},
     "<!--#include file=\"e.asp\"-->\r\n<!--#include file=\"e.asp\"-->\r\n",
     {"2 个的上限", "a.asp 第 2 行"}},
    {"a project of exactly the node limit",
     {kMaxProjectBytes, 3},
     "<!--#include file=\"e.asp\"-->\r\n<!--#include file=\"e.asp\"-->\r\n",
     {}},
};

class LoaderLimitTest : public LoaderTest, public ::testing::WithParamInterface<LimitCase> {};

TEST_P(LoaderLimitTest, AProjectOverALimitIsRefusedNamingTheLimitAndTheLine)
{
    const LimitCase &c = GetParam();
    for (const char *big : {"big1.asp", "big2.asp"})
        Write(big, "<% Dim big %>" + std::string(3 * kMiB / 2, ' '));
    Write("two.asp", "<%Function D1()\r\nEnd Function\r\nFunction D2()\r\nEnd Function%>\r\n");
    Write("e.asp", "Dim e\r\n");
    Write("a.asp", c.root);
    context.limits = c.limits;
    if (c.messageParts.empty()) {
        EXPECT_NO_THROW(Load("a.asp"));
        return;
    }
    try {
        Load("a.asp");
        FAIL() << "a project over its limit loaded";
    } catch (const LoadError &e) {
        for (const std::string &part : c.messageParts)
            EXPECT_NE(std::string(e.what()).find(part), std::string::npos) << e.what();
    }
    for (TreeNode *n = tree.FirstTopLevel(); n; n = tree.NextInPreOrder(n))
        EXPECT_NE(n->Record(), nullptr) << n->DisplayText();
}

INSTANTIATE_TEST_SUITE_P(Limits, LoaderLimitTest, ::testing::ValuesIn(kLimitCases));

// File names on disk are UTF-8; include lines and node names are GBK.
TEST_F(LoaderTest, ChineseFolderAndFileNamesAreFoundAndShown)
{
    const fs::path site = dir / "中文";
    fs::create_directories(site / "子");
    WriteAll(site / "页面.asp",
             Gbk("<!--#include file=\"包含.asp\"-->\r\n<!--#include file=\"子\\") + "\x95\x5C"
                 + Gbk(".asp\"-->\r\n<!--#include file=\"旧.asp\"-->\r\n<%\r\nDim a\r\n%>\r\n"));
    WriteAll(site / "包含.asp", "Dim b\r\n");
    WriteAll(site / "子" / (GbkToUtf8("\x95\x5C") + ".asp"), "Dim c\r\n");  // a second byte of '\'
    WriteAll(site / Gbk("旧.asp"), "Dim d\r\n");  // a site copied with GBK file names
    context.siteRoot = site;
    LoadAspDocument(tree, nullptr, site / "页面.asp", store, context);

    const TreeNode *root = tree.FirstTopLevel();
    EXPECT_EQ(root->DisplayText(), Gbk("页面.asp"));
    std::set<std::string> children;
    for (const auto &child : root->Children())
        children.insert(child->DisplayText() + "=" + std::string(child->Text()) + "@"
                        + child->Record()->SourceFile.string());
    EXPECT_EQ(children,
              (std::set<std::string>{Gbk("包含.asp") + "=Dim b\r\n@" + (site / "包含.asp").string(),
                                     Gbk("子\\") + "\x95\x5C.asp=Dim c\r\n@"
                                         + (site / "子" / (GbkToUtf8("\x95\x5C") + ".asp")).string(),
                                     Gbk("旧.asp") + "=Dim d\r\n@" + (site / Gbk("旧.asp")).string()}));
    EXPECT_TRUE(context.warnings.empty());
}

TEST_F(LoaderTest, MessagesShowChineseFolderNamesInUtf8)
{
    const fs::path site = dir / "中文";
    fs::create_directories(site);
    WriteAll(site / "页面.asp", Gbk("Dim a\r\n<!--#include file=\"没有.asp\"-->\r\n"));
    context.siteRoot = site;
    try {
        LoadAspDocument(tree, nullptr, site / "缺.asp", store, context);
        FAIL() << "a missing page loaded";
    } catch (const LoadError &e) {
        EXPECT_NE(std::string(e.what()).find("/中文/缺.asp：文件不存在"), std::string::npos) << e.what();
    }
    LoadAspDocument(tree, nullptr, site / "页面.asp", store, context);
    ASSERT_EQ(context.warnings.size(), 1u);
    EXPECT_NE(context.warnings[0].find("#include file=\"没有.asp\"（页面.asp 第 2 行："), std::string::npos)
        << context.warnings[0];
}

TEST(RootDisplayName, TheFileNameInGbk)
{
    EXPECT_EQ(RootDisplayName("/srv/中文/页面.asp"), Gbk("页面.asp"));
    EXPECT_EQ(RootDisplayName("/srv/" + Gbk("旧.asp")), Gbk("旧.asp"));  // not UTF-8: kept as it is
    EXPECT_EQ(RootDisplayName("index.asp"), "index.asp");
}

TEST(DocumentDisplayName, IsTheIncludePathAsWritten)
{
    // Cut to its file name, the include line was written back pointing at
    // another file, and the document saved beside the page.
    for (const char *path :
         {"inc\\conn.asp", "inc/conn.asp", "/inc/conn.asp", "C:index.asp", "inc\\\x95\x5C.asp"})
        EXPECT_EQ(DocumentDisplayName(path), path);
}

// A .vbs file holds nothing but code, opened as the page or included.
TEST_F(LoaderTest, AVbsFileIsCodeThroughout)
{
    const std::string lib = "Dim gLib\r\nFunction Twice(x)\r\n\tTwice = 2 * x\r\nEnd Function\r\n";
    Write("index.asp", "<!--#include file=\"lib.VBS\"-->\r\n<p>Function NotCode()</p>\r\n");
    Write("lib.VBS", lib);
    Load("index.asp");
    EXPECT_EQ(Outline(), (std::vector<std::string>{"D index.asp", "  D lib.VBS", "    F Twice(x)"}));
    const TreeNode *root = tree.FirstTopLevel();
    const TreeNode *vbs = root->FirstChild();
    EXPECT_EQ(TextOutsideProcedures(*vbs), "Dim gLib\r\n");
    EXPECT_EQ(FileBytesOf(*vbs), lib);
    EXPECT_TRUE(StartsInCode(*vbs));
    EXPECT_FALSE(StartsInCode(*root));
    EXPECT_EQ(ScriptMaskOfNode(*vbs, TextOutsideProcedures(*vbs)), "Dim gLib\r\n");
    store.RefreshKeywords();
    std::string name = "gLib";
    EXPECT_NE(store.LookupKeyword(name), -1);

    tree.Clear();
    Load("lib.VBS");
    EXPECT_EQ(Outline(), (std::vector<std::string>{"D lib.VBS", "  F Twice(x)"}));
    EXPECT_TRUE(context.warnings.empty());
}
