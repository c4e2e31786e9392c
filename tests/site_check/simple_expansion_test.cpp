// The plain expansion site_check holds the library against: if it misreads
// a directive or a path, every disagreement it reports is noise.
#include "simple_expansion.h"

#include "scratch_dir.h"

#include <gtest/gtest.h>

namespace qasp::sitecheck {
namespace {

using qasp::testing::ScratchDir;
using qasp::testing::WriteAll;
namespace fs = std::filesystem;

std::vector<std::string> Paths(std::string_view page)
{
    std::vector<std::string> paths;
    for (const FoundDirective &d : FindDirectives(page))
        paths.push_back((d.isVirtual ? "v:" : "f:") + d.path);
    return paths;
}

TEST(SimpleDirectives, ReadsTheFormsRealSitesWrite)
{
    EXPECT_EQ(Paths("<!--#include file=\"a.asp\"-->"), std::vector<std::string>{"f:a.asp"});
    EXPECT_EQ(Paths("<!-- #INCLUDE Virtual = \"/inc/b.asp\" -->"), std::vector<std::string>{"v:/inc/b.asp"});
    EXPECT_EQ(Paths("<!--#include file='c.asp'-->"), std::vector<std::string>{"f:c.asp"});
    EXPECT_EQ(Paths("<!--#include file=../d.asp-->x<!--#include file=e.asp -->"),
              (std::vector<std::string>{"f:../d.asp", "f:e.asp"}));
    const std::string page = "ab<!--#include file=\"x\"-->cd";
    const std::vector<FoundDirective> found = FindDirectives(page);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(page.substr(0, found[0].begin), "ab");
    EXPECT_EQ(page.substr(found[0].end), "cd");
}

TEST(SimpleDirectives, LeavesWhatIsNoDirective)
{
    EXPECT_TRUE(Paths("<!-- a comment --><!--#include file=\"\"--><!--#include a.asp-->").empty());
    EXPECT_TRUE(Paths("<!--#include file=\"a.asp\"").empty());
    // Server code: a directive there is the script's own text.
    EXPECT_TRUE(Paths("<% ' <!--#include file=\"a.asp\"--> %>").empty());
    EXPECT_TRUE(Paths("<% s = \"%>\" %>").empty());
    EXPECT_TRUE(Paths("<script runat=\"server\"><!--#include file=\"a.asp\"--></script>").empty());
    // A string holding "%>" does not end the block; the directive after it counts.
    EXPECT_EQ(Paths("<% s = \"%>\" %><!--#include file=\"b.asp\"-->"), std::vector<std::string>{"f:b.asp"});
    // A client script is HTML to the server.
    EXPECT_EQ(Paths("<script><!--#include file=\"c.asp\"--></script>"), std::vector<std::string>{"f:c.asp"});
}

class SimpleSite : public ::testing::Test {
protected:
    ScratchDir dir{"site_check_simple"};
    void Write(const std::string &name, const std::string &bytes)
    {
        fs::create_directories((dir / name).parent_path());
        WriteAll(dir / name, bytes);
    }
};

TEST_F(SimpleSite, ResolvesAsTheServerDoes)
{
    Write("global.asa", "");
    Write("Inc/Conn.asp", "conn");
    Write("shop/page.asp", "");
    Write("shop/lib/x.asp", "x");
    SimpleExpander e(dir.Path());
    const fs::path page = dir / "shop/page.asp";
    EXPECT_EQ(e.Resolve(page, false, "LIB\\X.ASP"), dir / "shop/lib/x.asp");
    EXPECT_EQ(e.Resolve(page, false, "../inc/conn.asp"), dir / "Inc/Conn.asp");
    EXPECT_EQ(e.Resolve(page, true, "/inc/conn.asp"), dir / "Inc/Conn.asp");
    EXPECT_EQ(e.Resolve(page, true, "inc/./conn.asp"), dir / "Inc/Conn.asp");
    EXPECT_FALSE(e.Resolve(page, false, "../../conn.asp"));  // above the root
    EXPECT_FALSE(e.Resolve(page, false, "lib"));             // a folder
    EXPECT_FALSE(e.Resolve(page, false, "lib/y.asp"));
    EXPECT_EQ(NearestSiteRoot(page), fs::weakly_canonical(dir.Path()));
    fs::remove(dir / "global.asa");
    EXPECT_EQ(NearestSiteRoot(page), fs::weakly_canonical(dir / "shop"));
}

// A Chinese file name is UTF-8 on disk; a GBK page writes it in GBK.
TEST_F(SimpleSite, FindsAChineseNameWrittenInEitherEncoding)
{
    Write("\xE5\x85\xAC\xE5\x85\xB1/a.asp", "a");  // 公共/a.asp
    SimpleExpander e(dir.Path());
    EXPECT_EQ(e.Resolve(dir / "index.asp", false, "\xB9\xAB\xB9\xB2\\A.asp"),
              dir / "\xE5\x85\xAC\xE5\x85\xB1/a.asp");
    EXPECT_EQ(e.Resolve(dir / "index.asp", true, "/\xE5\x85\xAC\xE5\x85\xB1/a.asp"),
              dir / "\xE5\x85\xAC\xE5\x85\xB1/a.asp");
}

TEST_F(SimpleSite, ExpandsRecursivelyAndLeavesWhatItCannotFollow)
{
    Write("index.asp", "A<!--#include file=\"inc/a.asp\"-->B<!--#include file=\"none.asp\"-->C"
                       "<!--#include file=\"inc/a.asp\"-->");
    Write("inc/a.asp", "[a<!--#include virtual=\"/inc/b.asp\"-->]");
    Write("inc/b.asp", "(b<!--#include file=\"a.asp\"-->)");  // a cycle: left as written
    EXPECT_EQ(SimpleExpander(dir.Path()).Expand(dir / "index.asp"),
              "A[a(b<!--#include file=\"a.asp\"-->)]B<!--#include file=\"none.asp\"-->C"
              "[a(b<!--#include file=\"a.asp\"-->)]");
}

TEST_F(SimpleSite, RefusesAFanOutPastItsLimit)
{
    Write("p.asp", R"(<!--#include file="q.asp"--><!--#include file="q.asp"-->)");
    Write("q.asp", std::string(100, 'q'));
    EXPECT_EQ(SimpleExpander(dir.Path(), 1000).Expand(dir / "p.asp").size(), 200u);
    EXPECT_THROW(SimpleExpander(dir.Path(), 150).Expand(dir / "p.asp"), ExpansionError);
}

}  // namespace
}  // namespace qasp::sitecheck
