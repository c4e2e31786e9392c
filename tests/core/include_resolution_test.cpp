#include "gbk_literal.h"
#include "scratch_dir.h"
#include "site/file_name_bytes.h"
#include "site/include_resolution.h"
#include "site/site_root.h"
#include "site_builder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace qasp;
using qasp::testing::MakeSite;
using Outcome = IncludeTarget::Outcome;
namespace fs = std::filesystem;

namespace {

// A site in "site/" with a file beside it, above the root, that no
// directive may reach.
class IncludeResolutionTest : public ::testing::Test {
protected:
    IncludeResolutionTest()
    {
        MakeSite(scratch.Path(), {{"secret.asp", "x"}});
        MakeSite(root, {{"global.asa", ""},
                        {"index.asp", ""},
                        {"conn.asp", ""},
                        {"inc/conn.asp", ""},
                        {"inc/top.asp", ""},
                        {"sub/page.asp", ""},
                        {"sub/inc/conn.asp", ""},
                        {"sub/deeper/page.asp", ""}});
    }

    IncludeTarget Resolve(const std::string &from, IncludeKind kind, const std::string &path, bool gbk = true)
    {
        return resolver.Resolve(root / from, kind, path, gbk);
    }
    // The found file relative to the root, or the outcome's word.
    std::string Lands(const std::string &from, IncludeKind kind, const std::string &path, bool gbk = true)
    {
        const IncludeTarget t = Resolve(from, kind, path, gbk);
        return t.Found() ? resolver.Site().Relative(t.path) : t.reasonWord;
    }

    static fs::path Made(const fs::path &folder)
    {
        fs::create_directories(folder);
        return folder;
    }

    qasp::testing::ScratchDir scratch{"include_resolution"};
    const fs::path root = Made(scratch / "site");
    IncludeResolver resolver{SiteRoot(root)};
};

constexpr auto kFile = IncludeKind::File;
constexpr auto kVirtual = IncludeKind::Virtual;

}  // namespace

TEST_F(IncludeResolutionTest, FileIsTakenFromTheIncludingFilesFolderVirtualFromTheRoot)
{
    EXPECT_EQ(Lands("sub/page.asp", kFile, "inc/conn.asp"), "sub/inc/conn.asp");
    EXPECT_EQ(Lands("index.asp", kFile, "inc/conn.asp"), "inc/conn.asp");
    EXPECT_EQ(Lands("sub/page.asp", kVirtual, "/inc/conn.asp"), "inc/conn.asp");
    EXPECT_EQ(Lands("sub/page.asp", kVirtual, "inc/conn.asp"), "inc/conn.asp");
    EXPECT_EQ(Lands("sub/page.asp", kVirtual, "\\inc\\conn.asp"), "inc/conn.asp");
    // A leading separator in file= does not leave the including folder.
    EXPECT_EQ(Lands("sub/page.asp", kFile, "/inc/conn.asp"), "sub/inc/conn.asp");
}

TEST_F(IncludeResolutionTest, DotDotIsFollowedInsideTheRootAndRefusedAboveIt)
{
    EXPECT_EQ(Lands("sub/deeper/page.asp", kFile, "../../inc/conn.asp"), "inc/conn.asp");
    EXPECT_EQ(Lands("sub/page.asp", kFile, "..\\conn.asp"), "conn.asp");
    EXPECT_EQ(Lands("sub/page.asp", kFile, "nothere/../inc/./conn.asp"), "sub/inc/conn.asp");
    // secret.asp exists just above the root.
    EXPECT_EQ(Lands("sub/page.asp", kFile, "../../secret.asp"), "outside-site-root");
    EXPECT_EQ(Lands("index.asp", kFile, "inc/../../secret.asp"), "outside-site-root");
    EXPECT_EQ(Lands("sub/page.asp", kVirtual, "/../secret.asp"), "outside-site-root");
    EXPECT_EQ(Lands("index.asp", kFile, "C:\\site\\conn.asp"), "outside-site-root");
    const IncludeTarget t = Resolve("index.asp", kFile, "../secret.asp");
    EXPECT_EQ(t.outcome, Outcome::OutsideSiteRoot);
    EXPECT_FALSE(t.reason.empty());
    EXPECT_EQ(DirectiveText(kFile, "..\\secret.asp", true), "#include file=\"..\\secret.asp\"");
}

TEST_F(IncludeResolutionTest, AnyLetterCaseAndSeparatorReachTheSameFile)
{
    const IncludeTarget exact = Resolve("index.asp", kFile, "inc/conn.asp");
    const IncludeTarget other = Resolve("sub/page.asp", kVirtual, "\\INC\\Conn.ASP");
    ASSERT_TRUE(exact.Found());
    ASSERT_TRUE(other.Found());
    EXPECT_EQ(other.key, exact.key);
    EXPECT_EQ(other.path, root / "inc/conn.asp");
    // With two names equal ignoring case, the exact one wins, else the smallest.
    MakeSite(root, {{"case/Ab.asp", ""}, {"case/aB.asp", ""}});
    EXPECT_EQ(Lands("index.asp", kFile, "case/aB.asp"), "case/aB.asp");
    EXPECT_EQ(Lands("index.asp", kFile, "case/ab.asp"), "case/Ab.asp");
}

TEST_F(IncludeResolutionTest, FoldersMissingFilesAndOddTargetsAreNotFound)
{
    const IncludeTarget missing = Resolve("sub/page.asp", kFile, "inc/none.asp");
    EXPECT_EQ(missing.outcome, Outcome::Missing);
    EXPECT_EQ(missing.reasonWord, "missing");
    EXPECT_EQ(missing.path, root / "sub/inc/none.asp");
    EXPECT_EQ(Lands("index.asp", kFile, "INC"), "is-a-folder");
    EXPECT_EQ(Lands("index.asp", kVirtual, ""), "is-a-folder");
    EXPECT_EQ(Lands("index.asp", kFile, "conn.asp/x.asp"), "missing");
    // A NUL would make the system read conn.asp.
    EXPECT_EQ(Lands("index.asp", kFile, std::string("conn.asp\0.bak", 13)), "missing");
    ASSERT_EQ(::mkfifo((root / "pipe.asp").c_str(), 0600), 0);
    EXPECT_EQ(Lands("index.asp", kFile, "pipe.asp"), "not-a-file");
}

TEST_F(IncludeResolutionTest, SymbolicLinksMayNotLeaveTheRoot)
{
    MakeSite(root, {{"out.asp", "->../secret.asp"},
                    {"outdir", "->.."},
                    {"lib", "->inc"},
                    {"dangling.asp", "->nothing.asp"}});
    EXPECT_EQ(Lands("index.asp", kFile, "out.asp"), "outside-site-root");
    EXPECT_EQ(Lands("index.asp", kFile, "outdir/secret.asp"), "outside-site-root");
    EXPECT_EQ(Lands("index.asp", kFile, "dangling.asp"), "missing");
    const IncludeTarget viaLink = Resolve("index.asp", kFile, "LIB/conn.asp");
    ASSERT_TRUE(viaLink.Found());
    EXPECT_EQ(viaLink.path, root / "lib/conn.asp");
    EXPECT_EQ(viaLink.key, Resolve("index.asp", kFile, "inc/conn.asp").key);
    // A file reached through the link includes from where it was reached.
    EXPECT_EQ(Lands("lib/conn.asp", kFile, "../conn.asp"), "conn.asp");
}

TEST_F(IncludeResolutionTest, ChineseNamesFromGbkAndUtf8PagesWithUtf8OrGbkNamesOnDisk)
{
    // "乗" in GBK ends in the byte '\\': it separates nothing.
    MakeSite(root, {{"中文/页面.asp", ""}, {"乗/a.asp", ""}, {Gbk("旧目录") + "/" + Gbk("旧.asp"), ""}});
    EXPECT_EQ(Lands("index.asp", kFile, Gbk("中文\\页面.asp")), "中文/页面.asp");
    EXPECT_EQ(Lands("index.asp", kFile, "中文\\页面.asp", false), "中文/页面.asp");
    EXPECT_EQ(Lands("index.asp", kFile, Gbk("乗\\a.asp")), "乗/a.asp");
    // In UTF-8 text every '\\' byte separates.
    EXPECT_EQ(Lands("index.asp", kFile, "乗\\A.asp", false), "乗/a.asp");
    EXPECT_EQ(Lands("index.asp", kVirtual, Gbk("/旧目录/旧.asp")), "旧目录/旧.asp");
    EXPECT_EQ(Lands("index.asp", kVirtual, "/旧目录/旧.asp", false), "旧目录/旧.asp");
}

TEST_F(IncludeResolutionTest, AnswersAreKeptPerIncludingFolder)
{
    MakeSite(root, {{"a/x.asp", ""}, {"a/c.asp", ""}, {"b/x.asp", ""}});
    EXPECT_EQ(Lands("a/x.asp", kFile, "c.asp"), "a/c.asp");
    EXPECT_EQ(Lands("b/x.asp", kFile, "c.asp"), "missing");
    EXPECT_EQ(Lands("a/y.asp", kFile, "c.asp"), "a/c.asp");
    EXPECT_EQ(Lands("a/x.asp", kVirtual, "c.asp"), "missing");
    EXPECT_EQ(ResolveInclude(SiteRoot(root), root / "a/x.asp", kFile, "C.ASP", true).path, root / "a/c.asp");
}

TEST(FoldedFileName, FoldsAsciiLettersButNotTheSecondByteOfAGbkCharacter)
{
    EXPECT_EQ(FoldedFileName("中A.ASP"), FoldedFileName("中a.asp"));
    EXPECT_NE(FoldedFileName(Gbk("丄")), FoldedFileName(Gbk("乤")));  // 81 41, 81 61
    EXPECT_EQ(FoldedFileName(Gbk("丄X")), FoldedFileName(Gbk("丄x")));
}

TEST(SiteRoot, IsTheNearestFolderUpwardHoldingGlobalAsaElseThePagesFolder)
{
    qasp::testing::ScratchDir scratch{"site_root"};
    MakeSite(scratch.Path(), {{"web/Global.ASA", ""},
                              {"web/a/b/page.asp", ""},
                              {"web/a/global.asa", "/"},  // a folder of that name is no application
                              {"loose/page.asp", ""}});
    const fs::path web = fs::canonical(scratch / "web");
    EXPECT_EQ(FindSiteRoot(scratch / "web/a/b/page.asp"), web);
    EXPECT_EQ(FindSiteRoot(scratch / "loose/page.asp"), fs::canonical(scratch / "loose"));
    const SiteRoot site = SiteRoot::Around(scratch / "web/a/b/page.asp");
    EXPECT_EQ(site.Path(), web);
    EXPECT_EQ(site.Relative(scratch / "web/a/b/page.asp"), "a/b/page.asp");
    EXPECT_EQ(site.Relative(web / Gbk("旧.asp")), "旧.asp");
    EXPECT_EQ(site.Relative(web), ".");
}

// Sites copied without their global.asa: a page in a subfolder still
// reaches the site's shared files with "../".
TEST(SiteRoot, WithoutGlobalAsaTheTopmostWebConfig)
{
    qasp::testing::ScratchDir scratch{"site_root_markers"};
    MakeSite(scratch.Path(),
             {{"site/web.config", ""}, {"site/admin/web.config", ""}, {"site/admin/data/page.asp", ""}});
    EXPECT_EQ(FindSiteRoot(scratch / "site/admin/data/page.asp"), fs::canonical(scratch / "site"));
}

TEST(SiteRoot, WithoutMarkersTheTopOfTheFoldersHoldingPages)
{
    qasp::testing::ScratchDir scratch{"site_root_pages"};
    MakeSite(scratch.Path(), {{"top/index.ASP", ""},
                              {"top/cms/list.asp", ""},
                              {"top/cms/data/page.asp", ""},
                              {"gap/inc/x.asp", ""},
                              {"gap/inc/sub/page.asp", ""}});
    EXPECT_EQ(FindSiteRoot(scratch / "top/cms/data/page.asp"), fs::canonical(scratch / "top"));
    // The run stops at the first folder without a page.
    EXPECT_EQ(FindSiteRoot(scratch / "gap/inc/sub/page.asp"), fs::canonical(scratch / "gap/inc"));
}

TEST(SiteRoot, AnExplicitRootMustBeAFolderHoldingThePage)
{
    qasp::testing::ScratchDir scratch{"site_root_explicit"};
    MakeSite(scratch.Path(), {{"web/a/page.asp", ""}, {"other/page.asp", ""}});
    EXPECT_EQ(SiteRoot::ForPage(scratch / "web", scratch / "web/a/page.asp").Path(),
              fs::canonical(scratch / "web"));
    EXPECT_EQ(
        SiteRoot::ForPage(scratch / "web/a", scratch / "web/a/page.asp").Relative(scratch / "web/a/page.asp"),
        "page.asp");
    EXPECT_THROW(SiteRoot::ForPage(scratch / "web", scratch / "other/page.asp"), SiteRootError);
    EXPECT_THROW(SiteRoot::ForPage(scratch / "web/a", scratch / "web/a/../../other/page.asp"), SiteRootError);
    EXPECT_THROW(SiteRoot(scratch / "none"), SiteRootError);
    EXPECT_THROW(SiteRoot(scratch / "web/a/page.asp"), SiteRootError);
    try {
        SiteRoot::ForPage(scratch / "web", scratch / "other/page.asp");
    } catch (const SiteRootError &e) {
        EXPECT_NE(std::string(e.what()).find("other/page.asp"), std::string::npos);
    }
}
