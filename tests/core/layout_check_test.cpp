// A document counts as safe to rewrite only where a save of the project
// gives back its file byte for byte: every case is loaded, judged, and then
// saved over itself with OverwritePolicy::Refuse, which must refuse exactly
// the documents judged lossy and leave the safe ones as they were.
#include "editor/keyword_store.h"
#include "project/asp_loader.h"
#include "project/asp_writer.h"
#include "recording_prompter.h"
#include "scratch_dir.h"

#include <gtest/gtest.h>

using namespace qasp;
using qasp::testing::ReadAll;
using qasp::testing::WriteAll;
namespace fs = std::filesystem;

namespace {

struct LayoutCase {
    const char *what;
    std::string root;      // index.asp
    std::string included;  // inc.asp, when the root includes it
    bool rootLoses;
    bool includedLoses = false;
};

void PrintTo(const LayoutCase &c, std::ostream *os)
{
    *os << c.what;
}

const std::string kInclude = "<!--#include file=\"inc.asp\"-->\r\n";
const std::string kHeader = "<%@codepage=936%>\r\n<%Option Explicit%>\r\n";

const LayoutCase kCases[] = {
    {"exact layout with header, include, page text and sorted functions",
     kHeader + kInclude
         + "<%\r\nDim a\r\nFunction A()\r\n\r\n\tA = 1\r\nEnd Function\r\n\r\n"
           "Function B()\r\nEnd Function\r\n\r\n%>\r\n",
     "<%\r\nDim b\r\n%>\r\n", false},
    {"exact layout without header", "<%\r\nDim a\r\n%>\r\n", "", false},
    {"exact layout of an empty page text", "<%\r\n\r\nFunction A()\r\nEnd Function\r\n\r\n%>\r\n", "", false},
    {"a lone CR runs two statements together", "<%\r\nx = 1\ry = 2\r\n%>\r\n", "", true},
    {"HTML outside the script block", "<html>\r\n<%\r\nDim a\r\n%>\r\n", "", true},
    {"text after the closing %>", "<%\r\nDim a\r\n%>\r\n<p>after</p>\r\n", "", true},
    {"functions out of their sorted order",
     "<%\r\nFunction B()\r\nEnd Function\r\n\r\nFunction A()\r\nEnd Function\r\n\r\n%>\r\n", "", true},
    {"page text after a function", "<%\r\nFunction A()\r\nEnd Function\r\n\r\nDim a\r\n%>\r\n", "", true},
    {"a blank line in the page text", "<%\r\nDim a\r\n\r\nDim b\r\n%>\r\n", "", true},
    {"trailing blanks", "<%\r\nDim a  \r\n%>\r\n", "", true},
    {"LF line ends", "<%\nDim a\n%>\n", "", true},
    {"no line end after %>", "<%\r\nDim a\r\n%>", "", true},
    {"bytes after a Ctrl-Z",
     "<%\r\nDim a\r\n%>\r\n\x1a"
     "data",
     "", true},
    {"Option Explicit without the code-page line", "<%Option Explicit%>\r\n<%\r\nDim a\r\n%>\r\n", "", true},
    {"the code-page line without Option Explicit", "<%@codepage=936%>\r\n<%\r\nDim a\r\n%>\r\n", "", true},
    {"an include path the layout writes otherwise",
     "<!--#include virtual=\"inc.asp\"-->\r\n<%\r\nDim a\r\n%>\r\n", "<%\r\nDim b\r\n%>\r\n", true},
    {"an Option Explicit line in an included file", kInclude + "<%\r\nDim a\r\n%>\r\n",
     kHeader + "<%\r\nDim b\r\n%>\r\n", false, true},
    {"an included file with HTML around its script", kInclude + "<%\r\nDim a\r\n%>\r\n",
     "<b>\r\n<%\r\nDim b\r\n%>\r\n</b>\r\n", false, true},
};

class LayoutCheckTest : public ::testing::TestWithParam<LayoutCase> {
protected:
    qasp::testing::ScratchDir scratch{"layout"};
    const fs::path dir = scratch.Path();
    ProjectTree tree;
    KeywordStore store{":memory:"};
    qasp::testing::RecordingPrompter prompter;
};

}  // namespace

TEST_P(LayoutCheckTest, SafeExactlyWhereASaveGivesTheFileBack)
{
    const LayoutCase &c = GetParam();
    WriteAll(dir / "index.asp", c.root);
    if (!c.included.empty())
        WriteAll(dir / "inc.asp", c.included);
    LoadContext context;
    context.siteRoot = dir;
    const bool optionExplicit = LoadAspDocument(tree, nullptr, dir / "index.asp", store, context);
    TreeNode *root = tree.FirstTopLevel();
    EXPECT_EQ(root->Record()->LayoutLoses, c.rootLoses);
    for (const auto &child : root->Children()) {
        if (child->IsDocument()) {
            EXPECT_EQ(child->Record()->LayoutLoses, c.includedLoses) << child->DisplayText();
        }
    }

    const bool loses = c.rootLoses || c.includedLoses;
    if (loses)
        EXPECT_THROW(SaveAspDocument(root, dir, optionExplicit, prompter, OverwritePolicy::Refuse),
                     OverwriteRefused);
    else
        EXPECT_EQ(SaveAspDocument(root, dir, optionExplicit, prompter, OverwritePolicy::Refuse).outcome,
                  SaveOutcome::Saved);
    EXPECT_EQ(ReadAll(dir / "index.asp"), c.root);
    if (!c.included.empty()) {
        EXPECT_EQ(ReadAll(dir / "inc.asp"), c.included);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, LayoutCheckTest, ::testing::ValuesIn(kCases));

// The same bytes are safe as the root and lossy as an included file, whose
// save writes no header lines.
TEST(LayoutCheck, HeaderLinesAreKeptOnlyAboveTheRoot)
{
    qasp::testing::ScratchDir scratch{"layout_header"};
    const std::string page = kHeader + "<%\r\nDim a\r\n%>\r\n";
    WriteAll(scratch / "a.asp", page);
    WriteAll(scratch / "b.asp", "<!--#include file=\"a.asp\"-->\r\n<%\r\n\r\n%>\r\n");
    ProjectTree tree;
    KeywordStore store(":memory:");
    LoadContext context;
    context.siteRoot = scratch.Path();
    EXPECT_TRUE(LoadAspDocument(tree, nullptr, scratch / "a.asp", store, context));
    EXPECT_FALSE(LoadAspDocument(tree, nullptr, scratch / "b.asp", store, context));
    const TreeNode *asRoot = tree.TopLevel()[0].get();
    const TreeNode *asIncluded = tree.TopLevel()[1]->FirstChild();
    EXPECT_FALSE(asRoot->Record()->LayoutLoses);
    EXPECT_FALSE(tree.TopLevel()[1]->Record()->LayoutLoses);
    EXPECT_TRUE(asIncluded->Record()->LayoutLoses);
}
