#include "editor/key_type.h"
#include "editor/keyword_store.h"
#include "gbk_literal.h"
#include "project/asp_loader.h"
#include "project/include_path.h"
#include "scratch_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

using namespace qasp;
namespace fs = std::filesystem;

namespace {

class LoaderTest : public ::testing::Test {
protected:
    LoaderTest()
    {
        fs::create_directories(dir / "inc");
        context.baseDir = dir.string();
    }

    void Write(const std::string &name, const std::string &bytes)
    {
        std::ofstream(dir / name, std::ios::binary) << bytes;
    }
    bool Load(const std::string &name, TreeNode *parent = nullptr)
    {
        return LoadAspDocument(tree, parent, (dir / name).string(), store, context);
    }
    std::vector<std::string> Outline()
    {
        std::vector<std::string> out;
        for (TreeNode *n = tree.FirstTopLevel(); n; n = tree.NextInPreOrder(n)) {
            int depth = 0;
            for (TreeNode *p = n->Parent(); p; p = p->Parent())
                ++depth;
            out.push_back(std::string(depth * 2, ' ') + (n->IsDocument() ? "D " : "F ")
                          + n->DisplayText());
        }
        return out;
    }

    qasp::testing::ScratchDir scratch{"loader"};
    const fs::path dir = scratch.Path();
    ProjectTree tree;
    KeywordStore store{":memory:"};
    LoadContext context;
};

}  // namespace

TEST_F(LoaderTest, RulesInTheirOrder)
{
    Write("index.asp",
          "<%@codepage=936%>\r\n<%Option Explicit%>\r\n<!--#include file=\"b.asp\"-->\r\n"
          "old text\r\n<%\r\nDim a, z  \r\n  <!--#include file=\"no.asp\"-->\r\n"
          "  Function Show(x)\r\n\tDim y\r\n\r\nEnd Function\r\nPrivate Function P\r\n"
          "%>\r\nafter the end\r\nfunction Never()\r\n");
    Write("b.asp", "<%\nconst K = 1\nFUNCTION Open(a, b)\nend function\n%>");
    EXPECT_TRUE(Load("index.asp"));
    EXPECT_EQ(Outline(), (std::vector<std::string>{"D index.asp", "  D b.asp", "    F Open(a, b)",
                                                    "  F Show(x)"}));
    TreeNode *root = tree.FirstTopLevel();
    EXPECT_EQ(root->Text(), "Dim a, z\r\n  <!--#include file=\"no.asp\"-->\r\nPrivate Function P");
    EXPECT_EQ(root->Record()->Info, Gbk("链接ASP文件:1个;函数:1个"));
    TreeNode *show = root->Children()[1].get();
    EXPECT_EQ(show->Text(), "  Function Show(x)\r\n\tDim y\r\n\r\nEnd Function");
    EXPECT_EQ(show->Record()->Info, Gbk("启始行数:8"));
    const auto rows = store.TableRows("Key_Public");
    ASSERT_EQ(rows.size(), 5u);  // Open, K, Show, a, z
    EXPECT_EQ(rows[0].name, "Open");
    EXPECT_EQ(rows[0].hint, "Open(a, b)");
    EXPECT_EQ(rows[0].type, kProjectFunction);
}

TEST_F(LoaderTest, LineReadingOfRealFiles)
{
    // LF only, a lone CR dropped, no final line end, Ctrl-Z ends the file.
    Write("a.asp", "Dim a\nx = 1\r+ 2\r\nDim b\x1a" "Dim c\r\n");
    EXPECT_FALSE(Load("a.asp"));
    EXPECT_EQ(tree.FirstTopLevel()->Text(), "Dim a\r\nx = 1+ 2\r\nDim b");
}

TEST_F(LoaderTest, FunctionWithoutEndTakesTheRestAndOptionExplicitInsideIsNotSeen)
{
    Write("a.asp", "Function F()\r\n<%Option Explicit%>\r\n%>\r\n");
    EXPECT_FALSE(Load("a.asp"));
    TreeNode *fn = tree.FirstTopLevel()->FirstChild();
    EXPECT_EQ(fn->Text(), "Function F()\r\n<%Option Explicit%>\r\n%>");
}

TEST_F(LoaderTest, IncludePathsResolveFromTheChosenFilesDirectory)
{
    Write("index.asp", "<!--#include file=\"inc\\Conn.ASP\"-->\r\n<!--#include virtual=\"inc/b.asp\"-->\r\n");
    Write("inc/conn.asp", "<!--#include file=\"top.asp\"-->\r\n");  // relative to index.asp's folder
    Write("inc/b.asp", "Dim b\r\n");
    Write("top.asp", "Dim t\r\n");
    Load("index.asp");
    EXPECT_EQ(Outline(), (std::vector<std::string>{"D index.asp", "  D Conn.ASP", "    D top.asp",
                                                    "  D inc/b.asp"}));
}

TEST_F(LoaderTest, IncludeCycleIsRefusedAndLoadingGoesOn)
{
    Write("a.asp", "<!--#include file=\"b.asp\"-->\r\nDim a\r\n");
    Write("b.asp", "<!--#include file=\"A.asp\"-->\r\nDim b\r\n");
    Load("a.asp");
    EXPECT_EQ(Outline(), (std::vector<std::string>{"D a.asp", "  D b.asp"}));
    ASSERT_EQ(context.warnings.size(), 1u);
    EXPECT_NE(context.warnings[0].find("b.asp -> A.asp"), std::string::npos) << context.warnings[0];
    EXPECT_EQ(tree.FirstTopLevel()->FirstChild()->Text(), "Dim b");
}

TEST_F(LoaderTest, IncludeWithoutAQuotedPathIsSkippedWithAWarning)
{
    Write("a.asp", "<!--#include file=nothing-->\r\nDim a\r\n");
    Load("a.asp");
    EXPECT_EQ(tree.Count(), 1);
    EXPECT_EQ(tree.FirstTopLevel()->Record()->Info, Gbk("链接ASP文件:1个;函数:0个"));
    EXPECT_EQ(context.warnings.size(), 1u);
}

TEST_F(LoaderTest, MissingIncludeEndsTheLoadNamingTheLineAndLeavesNoNodeWithoutRecord)
{
    Write("a.asp", "Dim a\r\n<!--#include file=\"b.asp\"-->\r\n");
    Write("b.asp", "Dim b\r\n<!--#include file=\"gone.asp\"-->\r\nDim never\r\n");
    try {
        Load("a.asp");
        FAIL() << "a missing include loaded";
    } catch (const LoadError &e) {
        const std::string m = e.what();
        EXPECT_NE(m.find("gone.asp"), std::string::npos) << m;
        EXPECT_NE(m.find("b.asp 第 2 行"), std::string::npos) << m;
    }
    for (TreeNode *n = tree.FirstTopLevel(); n; n = tree.NextInPreOrder(n))
        EXPECT_NE(n->Record(), nullptr) << n->DisplayText();
    EXPECT_TRUE(context.chain.empty());
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
    EXPECT_NO_THROW(Load("db.asa"));
    EXPECT_NO_THROW(Load("empty.asp"));
    Load("odd.asp");
    EXPECT_EQ(tree.TopLevel().back()->Text(), "x = \"\x80\xFE\xFE\xAA\xA1\"");
}

TEST_F(LoaderTest, LoadingARootEmptiesKeyPublicAddingUnderADocumentDoesNot)
{
    Write("a.asp", "Dim a\r\n");
    Write("b.asp", "Dim b\r\n");
    Load("a.asp");
    Load("b.asp", tree.FirstTopLevel());
    EXPECT_EQ(store.TableRows("Key_Public").size(), 2u);
    Load("b.asp");
    EXPECT_EQ(store.TableRows("Key_Public").size(), 1u);
}

TEST(DocumentDisplayName, BackslashRuleAndChineseSecondBytes)
{
    EXPECT_EQ(DocumentDisplayName("inc\\conn.asp"), "conn.asp");
    EXPECT_EQ(DocumentDisplayName("inc/conn.asp"), "inc/conn.asp");
    EXPECT_EQ(DocumentDisplayName("/srv/site/index.asp"), "index.asp");
    EXPECT_EQ(DocumentDisplayName("C:index.asp"), "C:index.asp");
    // 0x955C ends in the byte of '\': it is no separator.
    EXPECT_EQ(DocumentDisplayName("\x95\x5C" ".asp"), "\x95\x5C" ".asp");
    EXPECT_EQ(DocumentDisplayName("inc\\\x95\x5C" ".asp"), "\x95\x5C" ".asp");
}
