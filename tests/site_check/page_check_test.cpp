// site_check on a small site holding what real sites hold: GBK and UTF-8
// files, CR LF and LF line ends, file= and virtual= includes, a missing one,
// procedures in classes and in HTML. A sound site must give no fault, and a
// fault must reach the summary.
#include "page_check.h"
#include "site_tally.h"

#include "scratch_dir.h"

#include <gtest/gtest.h>

#include <sstream>

namespace qasp::sitecheck {
namespace {

using qasp::testing::ScratchDir;
using qasp::testing::WriteAll;
namespace fs = std::filesystem;

class SiteCheck : public ::testing::Test {
protected:
    ScratchDir dir{"site_check_pages"};
    void SetUp() override
    {
        Write("global.asa", "<script language=\"vbscript\" runat=\"server\">\r\n</script>\r\n");
        Write("index.asp",
              "<%@ CodePage=936 %>\r\n<!--#include virtual=\"/inc/conn.asp\"-->\r\n"
              "<html><title>\xD6\xD0\xCE\xC4</title>\r\n<% Call Show(\"\xC4\xE3\xBA\xC3\") %>\r\n"
              "<!--#include file=\"inc/none.asp\"-->\r\n</html>\r\n");
        Write("inc/conn.asp", "<%\nDim conn\nFunction Show(s)\n\tResponse.Write s\nEnd Function\n"
                              "Class Db\n\tPublic Sub Open()\n\tEnd Sub\nEnd Class\n%>\n"
                              "<!--#include file=\"util.asp\"-->\n");
        Write("inc/util.asp",
              "<%@ CodePage=65001 %>\r\n<%\r\nSub Note(s)\r\n%>\r\n<p>\xE4\xB8\xAD</p>\r\n<%\r\n"
              "End Sub\r\n%>\r\n");
    }
    void Write(const std::string &name, const std::string &bytes)
    {
        fs::create_directories((dir / name).parent_path());
        WriteAll(dir / name, bytes);
    }
};

TEST_F(SiteCheck, ASoundSiteGivesNoFault)
{
    for (const bool every : {false, true}) {
        CheckOptions options;
        options.everyProcedure = every;
        const PageOutcome out = CheckPage(dir / "index.asp", options);
        ASSERT_TRUE(out.opened) << out.loadError;
        EXPECT_EQ(out.documents, 3);
        ASSERT_EQ(out.includes.size(), 3u);
        EXPECT_EQ(out.targetExists, (std::vector<bool>{true, true, false}));
        EXPECT_EQ(out.includes[2].skipped, "missing");
        EXPECT_TRUE(out.noEditFaults.empty()) << out.noEditFaults.front();
        EXPECT_EQ(out.edit, EditCheck::Kept) << (out.editFaults.empty() ? "" : out.editFaults.front());
        EXPECT_EQ(out.proceduresEdited, every ? 3 : 1);
        EXPECT_EQ(out.flatten, FlattenCheck::Agree) << out.flattenDetail;
        EXPECT_TRUE(out.rootDifference.empty()) << out.rootDifference;
    }
    const PageOutcome out = CheckPage(dir / "index.asp", {});
    const std::string root = fs::weakly_canonical(dir.Path()).string();
    EXPECT_EQ(out.documentKinds,
              (std::vector<std::pair<std::string, std::string>>{{root + "/index.asp", "GBK CRLF"},
                                                                {root + "/inc/conn.asp", "GBK LF"},
                                                                {root + "/inc/util.asp", "UTF-8 CRLF"}}));
}

// Procedures where real pages put them: on the "<%" line, spanning HTML,
// after a one-line procedure, in a file of mixed line ends with lone CRs.
TEST_F(SiteCheck, ProceduresInAwkwardPlacesEditCleanly)
{
    Write("odd.asp",
          "<html>\r\n<% Function A(x)\r\n\tA = x\r\nEnd Function %>\n"
          "<% Sub B() %>\r<b>\xD6\xD0</b>\r\n<% End Sub\r\n"
          "Sub C() : End Sub\r\nClass D\n\tPrivate Sub Class_Initialize()\r\n\tEnd Sub\nEnd Class\r\n%>");
    CheckOptions options;
    options.everyProcedure = true;
    const PageOutcome out = CheckPage(dir / "odd.asp", options);
    ASSERT_TRUE(out.opened) << out.loadError;
    EXPECT_TRUE(out.noEditFaults.empty()) << out.noEditFaults.front();
    EXPECT_EQ(out.proceduresEdited, 4);  // C's line gets the new line after it
    EXPECT_EQ(out.edit, EditCheck::Kept) << (out.editFaults.empty() ? "" : out.editFaults.front());
}

// A site without a global.asa: its pages' own folders are their roots
// unless one is named, and "../" leaves them.
TEST_F(SiteCheck, TheRootDecidesWhetherAboveThePagesFolderIsReached)
{
    fs::remove(dir / "global.asa");
    Write("shop/cart.asp", "<!--#include file=\"../inc/conn.asp\"--><% Call Show(1) %>");
    // Without global.asa the root is the top of the folders holding pages,
    // above shop/ here; a root named below it refuses "../".
    const PageOutcome own = CheckPage(dir / "shop/cart.asp", {});
    ASSERT_EQ(own.includes.size(), 2u);
    EXPECT_TRUE(own.includes[0].skipped.empty()) << own.includes[0].skipped;
    EXPECT_EQ(own.flatten, FlattenCheck::Agree) << own.flattenDetail;
    CheckOptions low;
    low.siteRoot = dir / "shop";
    const PageOutcome refused = CheckPage(dir / "shop/cart.asp", low);
    ASSERT_EQ(refused.includes.size(), 1u);
    EXPECT_EQ(refused.includes[0].skipped, "outside-site-root");
    EXPECT_EQ(refused.targetExists, std::vector<bool>{false});
    EXPECT_EQ(refused.flatten, FlattenCheck::Agree) << refused.flattenDetail;
    CheckOptions options;
    options.siteRoot = dir.Path();
    const PageOutcome named = CheckPage(dir / "shop/cart.asp", options);
    ASSERT_EQ(named.includes.size(), 2u);  // conn.asp includes util.asp
    EXPECT_EQ(named.targetExists, (std::vector<bool>{true, true}));
    EXPECT_TRUE(named.includes[0].skipped.empty()) << named.includes[0].skipped;
    EXPECT_EQ(named.edit, EditCheck::Kept) << (named.editFaults.empty() ? "" : named.editFaults.front());
    EXPECT_EQ(named.flatten, FlattenCheck::Agree) << named.flattenDetail;
}

TEST_F(SiteCheck, APageThatDoesNotOpenIsNamedAndStillFlattened)
{
    Write("bad.asp", std::string("<%\0%>", 5));
    const PageOutcome out = CheckPage(dir / "bad.asp", {});
    EXPECT_FALSE(out.opened);
    EXPECT_NE(out.loadError.find("bad.asp"), std::string::npos);
    EXPECT_EQ(out.flatten, FlattenCheck::Agree) << out.flattenDetail;
}

TEST_F(SiteCheck, AFaultReachesTheSummaryAndTheExitStatus)
{
    SiteTally tally("fixture", dir.Path());
    tally.Add(CheckPage(dir / "index.asp", {}));
    EXPECT_FALSE(tally.SaveFaults());
    PageOutcome broken = CheckPage(dir / "inc/conn.asp", {});
    broken.noEditFaults.emplace_back("inc/conn.asp: byte 3");
    tally.Add(broken);
    EXPECT_TRUE(tally.SaveFaults());
    std::ostringstream report;
    tally.Print(report, 5);
    EXPECT_NE(report.str().find("pages where bytes differ with no edit: 1\n    inc/conn.asp (1 documents): "
                                "inc/conn.asp: byte 3"),
              std::string::npos)
        << report.str();
    EXPECT_EQ(tally.Row().rfind("summary\tfixture\t2\t2\t", 0), 0u) << tally.Row();
}

}  // namespace
}  // namespace qasp::sitecheck
