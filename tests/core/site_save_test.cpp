// Saving a loaded site keeps what is not the save's own: files another
// program changed or deleted meanwhile, files other documents were read
// from, and the site's folders free of what killed saves left.
#include "editor/keyword_store.h"
#include "failing_file_operations.h"
#include "file_snapshot.h"
#include "project/asp_loader.h"
#include "project/asp_writer.h"
#include "project/document_assembly.h"
#include "project/site_save.h"
#include "project/stale_temporaries.h"
#include "recording_prompter.h"
#include "site_builder.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

using namespace qasp;
using namespace qasp::testing;
namespace fs = std::filesystem;

namespace {

// The system's operations, with another program's act slipped in at the
// save's first step: between the load and the writing, whatever the
// timing.
class RacingFiles : public FailingFileOperations {
public:
    explicit RacingFiles(std::function<void()> act) : act_(std::move(act)) {}
    std::error_code RealPath(const fs::path &p, fs::path &real) override
    {
        if (act_)
            std::exchange(act_, nullptr)();
        return FailingFileOperations::RealPath(p, real);
    }

private:
    std::function<void()> act_;
};

class SiteSaveTest : public ::testing::Test {
protected:
    void Load(const SiteFiles &files, const std::string &root = "index.asp")
    {
        MakeSite(site, files);
        LoadAspDocument(tree, nullptr, site / root, store, context);
    }
    TreeNode *Node(const std::string &name) const
    {
        for (TreeNode *n = tree.FirstTopLevel(); n; n = tree.NextInPreOrder(n))
            if (n->DisplayText() == name)
                return n;
        return nullptr;
    }
    SaveResult SaveTo(const fs::path &dir, OverwritePolicy policy, FileOperations &files = SystemFiles())
    {
        return SaveSite(tree, context.siteRoot, prompter, policy, files, dir);
    }

    ScratchDir scratch{"site_save"};
    const fs::path site = scratch / "site";
    ProjectTree tree;
    KeywordStore store{":memory:"};
    LoadContext context;
    RecordingPrompter prompter;
};

const SiteFiles kDemo = {
    {"index.asp", "<!--#include file=\"functions.asp\"-->\r\n<% Call Show() %>\r\n"},
    {"functions.asp", "<%\r\nSub Show()\r\nEnd Sub\r\n%>\r\n"},
};

}  // namespace

// Saving "to" the site's own folder is a save into the site: a file another
// program changed or deleted after the load is neither overwritten nor
// made again.
TEST_F(SiteSaveTest, ASaveIntoTheSitesOwnFolderKeepsAnotherProgramsChange)
{
    Load(kDemo);
    const std::string appended = ReadAll(site / "functions.asp") + "<% ' added elsewhere %>\r\n";
    RacingFiles append([&] { WriteAll(site / "functions.asp", appended); });
    EXPECT_EQ(SaveTo(site, OverwritePolicy::Refuse, append).outcome, SaveOutcome::Saved);
    EXPECT_EQ(ReadAll(site / "functions.asp"), appended);  // nothing of it was edited

    TreeNode *functions = Node("functions.asp");
    SetNodeText(*functions, "<% ' edited %>\r\n" + std::string(functions->Text()));
    RacingFiles again([&] { WriteAll(site / "functions.asp", appended + "more\r\n"); });
    EXPECT_THROW(SaveTo(site, OverwritePolicy::Refuse, again), OverwriteRefused);
    EXPECT_EQ(ReadAll(site / "functions.asp"), appended + "more\r\n");

    RacingFiles remove([&] { fs::remove(site / "functions.asp"); });
    EXPECT_THROW(SaveTo(site, OverwritePolicy::Refuse, remove), OverwriteRefused);
    EXPECT_FALSE(fs::exists(site / "functions.asp"));
}

// A site root holding a.asp that includes b/a.asp, saved "to" b: a.asp
// would land on the file b/a.asp was read from.
TEST_F(SiteSaveTest, ADocumentIsNotWrittenOverTheFileAnotherWasReadFrom)
{
    Load({{"a.asp", "<!--#include file=\"b/a.asp\"-->\r\n<% Dim top %>\r\n"},
          {"b/a.asp", "<% Dim inner %>\r\n"}},
         "a.asp");
    const Snapshot before = TakeSnapshot(site);
    EXPECT_THROW(SaveTo(site / "b", OverwritePolicy::Refuse), OverwriteRefused);
    EXPECT_EQ(TakeSnapshot(site), before);

    prompter.answers = {Answer::No};
    EXPECT_EQ(SaveTo(site / "b", OverwritePolicy::Ask).outcome, SaveOutcome::Cancelled);
    EXPECT_EQ(TakeSnapshot(site), before);
    EXPECT_NE(prompter.shown.back().find("b/a.asp"), std::string::npos);

    const SaveResult forced = SaveTo(site / "b", OverwritePolicy::Force);
    ASSERT_EQ(forced.backups.size(), 1u);
    EXPECT_EQ(ReadAll(forced.backups[0].backup), "<% Dim inner %>\r\n");
    EXPECT_EQ(ReadAll(site / "b/a.asp"), ReadAll(site / "a.asp"));
    EXPECT_EQ(ReadAll(site / "b/b/a.asp"), "<% Dim inner %>\r\n");
}

// A merged page over a page the project was read from replaces it only
// when the user says so, keeping the old one.
TEST_F(SiteSaveTest, AMergedPageOverAnIncludedFileIsAskedAbout)
{
    Load(kDemo);
    const Snapshot before = TakeSnapshot(site);
    EXPECT_THROW(SaveSingleDocument(tree, site / "functions.asp", false, prompter, OverwritePolicy::Refuse),
                 OverwriteRefused);
    prompter.answers = {Answer::No};
    EXPECT_EQ(SaveSingleDocument(tree, site / "functions.asp", false, prompter).outcome,
              SaveOutcome::Cancelled);
    EXPECT_EQ(TakeSnapshot(site), before);

    prompter.answers = {Answer::Yes};
    const SaveResult saved = SaveSingleDocument(tree, site / "functions.asp", false, prompter);
    EXPECT_EQ(saved.outcome, SaveOutcome::Saved);
    ASSERT_EQ(saved.backups.size(), 1u);
    EXPECT_EQ(ReadAll(saved.backups[0].backup), kDemo[1].second);
}

// What a killed save left in any folder of the project goes with the next
// save, even one that writes nothing, and the user is told.
TEST_F(SiteSaveTest, TemporaryFilesOfAKilledSaveGoWithAnySave)
{
    Load({{"index.asp", "<!--#include file=\"inc/lib.asp\"-->\r\n"}, {"inc/lib.asp", "<% Dim x %>\r\n"}});
    const std::string stale = ".lib.asp.qasp-save-99999999-ab12cd.tmp";
    WriteAll(site / "inc" / stale, "half a page");
    const SaveResult result = SaveSite(tree, context.siteRoot, prompter, OverwritePolicy::Refuse);
    EXPECT_EQ(result.outcome, SaveOutcome::Saved);
    EXPECT_FALSE(fs::exists(site / "inc" / stale));
    ASSERT_EQ(result.staleRemoved.size(), 1u);
    EXPECT_NE(StaleFilesNotice(result.staleRemoved).find(stale), std::string::npos);
}
