#include "failing_file_operations.h"
#include "file_snapshot.h"
#include "project/asp_writer.h"
#include "project/temporary_files.h"
#include "recording_prompter.h"
#include "scratch_dir.h"
#include "site_builder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>

#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

using namespace qasp;
using namespace qasp::testing;
namespace fs = std::filesystem;

namespace {

// A site whose save replaces files in three folders (one through a
// symbolic link, one with a second hard link elsewhere), creates a folder,
// and keeps a backup beside a backup the site already has.
const SiteFiles kSite = {
    {"site/index.asp", "<html>\r\n<%\r\nDim a\r\n%>\r\n</html>\r\n"},
    {"site/index.asp.bak", "a backup the site ships"},
    {"site/inc/conn.asp", "<%\r\nDim conn\r\n%>\r\n"},
    {"site/conn.asp", "unrelated"},
    {"site/real/shared.asp", "<%\r\nDim shared\r\n%>\r\n"},
    {"site/shared.asp", "->real/shared.asp"},
    {"site/inc/common.asp", "<%\r\nDim common\r\n%>\r\n"},
    {"mirror/common.asp", "=>site/inc/common.asp"},
};

struct Project {
    explicit Project(const fs::path &site)
    {
        TreeNode *root = AddDocument(tree, nullptr, "index.asp", "Dim a2", site / "index.asp");
        root->Record()->LayoutLoses = true;  // the HTML around the script
        AddDocument(tree, root, "conn.asp", "Dim conn2", site / "inc" / "conn.asp");
        AddDocument(tree, root, "shared.asp", "Dim shared2", site / "shared.asp");
        AddDocument(tree, root, "inc/common.asp", "Dim common2", site / "inc" / "common.asp");
        AddDocument(tree, root, "fresh/new.asp", "Dim n");
    }
    ProjectTree tree;
};

struct Scenario {
    const char *name;
    std::function<SaveResult(Project &, const fs::path &site, FileOperations &)> save;
};

const Scenario kScenarios[] = {
    {"ProjectInPlace",
     [](Project &p, const fs::path &site, FileOperations &files) {
         RecordingPrompter prompter;
         return SaveAspDocument(p.tree.FirstTopLevel(), site, true, prompter, OverwritePolicy::Force, files);
     }},
    {"MergedOverTheRoot",
     [](Project &p, const fs::path &site, FileOperations &files) {
         RecordingPrompter prompter;
         return SaveSingleDocument(p.tree, site / "index.asp", false, prompter, OverwritePolicy::Force,
                                   files);
     }},
};

void PrintTo(const Scenario &scenario, std::ostream *out)
{
    *out << scenario.name;
}

class AllOrNothing : public ::testing::TestWithParam<Scenario> {
protected:
    // The site made afresh and saved; false when the save threw.
    bool SaveAfresh(FileOperations &files)
    {
        fs::remove_all(site);
        fs::remove_all(scratch / "mirror");
        MakeSite(scratch.Path(), kSite);
        Project project(site);
        before = TakeSnapshot(scratch.Path());
        try {
            return GetParam().save(project, site, files).outcome == SaveOutcome::Saved;
        } catch (const WriteError &) {
            return false;
        }
    }

    ScratchDir scratch{"all_or_nothing"};
    const fs::path site = scratch / "site";
    Snapshot before;
};

}  // namespace

// Every operation of the save fails in turn: the files stay exactly as they
// were (bytes, permissions, links) and no temporary file is left, or the
// save completed.
TEST_P(AllOrNothing, AFailureAtAnyStepLeavesEveryFileAsItWas)
{
    ASSERT_TRUE(SaveAfresh(SystemFiles()));
    const Snapshot complete = TakeSnapshot(scratch.Path());
    EXPECT_EQ(complete.at("site/index.asp.bak"), before.at("site/index.asp.bak"));
    EXPECT_EQ(complete.at("site/index.asp.bak.1"), before.at("site/index.asp"));
    EXPECT_EQ(complete.at("site/shared.asp"), "link to real/shared.asp");
    EXPECT_EQ(complete.at("site/conn.asp"), before.at("site/conn.asp"));
    EXPECT_EQ(TemporaryNames(complete), "");
    if (GetParam().name == std::string("ProjectInPlace")) {
        // Written in place: the second name still shares the file.
        EXPECT_NE(complete.at("site/inc/common.asp"), before.at("site/inc/common.asp"));
        EXPECT_EQ(complete.at("mirror/common.asp"), complete.at("site/inc/common.asp"));
        EXPECT_EQ(complete.count("site/inc/common.asp.bak"), 0u);
    }

    int failures = 0;
    for (int n = 1;; ++n) {
        FailingFileOperations files(n);
        const bool saved = SaveAfresh(files);
        if (files.Count() < n) {  // nothing failed
            EXPECT_TRUE(saved);
            EXPECT_EQ(TakeSnapshot(scratch.Path()), complete);
            break;
        }
        ++failures;
        if (!saved) {
            EXPECT_EQ(TakeSnapshot(scratch.Path()), before) << files.Log();
            continue;
        }
        // What failed was tidying up after the files were in place: what it
        // left is removed by the next save into the folder.
        for (const char *folder : {"site", "site/inc", "site/real", "site/fresh", "mirror"})
            RemoveStaleTemporaryFiles(scratch / folder, SystemFiles());
        // The copy that kept an in-place file's old content, when it could
        // not be removed, stays and is reported as a backup.
        Snapshot after = TakeSnapshot(scratch.Path());
        if (after.count("site/inc/common.asp.bak")) {
            EXPECT_EQ(after.at("site/inc/common.asp.bak"), "420 1 <%\r\nDim common\r\n%>\r\n");
        }
        after.erase("site/inc/common.asp.bak");
        EXPECT_EQ(after, complete) << files.Log();
    }
    EXPECT_GT(failures, 10);
}

INSTANTIATE_TEST_SUITE_P(Saves, AllOrNothing, ::testing::ValuesIn(kScenarios),
                         [](const auto &test) { return std::string(test.param.name); });

TEST(SaveTransaction, ABackupNeverReplacesAFile)
{
    ScratchDir scratch("backup_names");
    MakeSite(scratch.Path(),
             {{"page.asp", "old"}, {"page.asp.bak", "shipped"}, {"page.asp.bak.1", "shipped 1"}});
    const std::vector<BackupMade> backups =
        WriteAllOrNothing(
            {{scratch / "page.asp", "new", true}, {scratch / "page.asp.bak.2", "a file of the save", false}},
            SystemFiles())
            .backups;
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_EQ(backups[0].original, scratch / "page.asp");
    EXPECT_EQ(backups[0].backup, scratch / "page.asp.bak.3");
    const std::map<std::string, std::string> expected = {{"page.asp", "new"},
                                                         {"page.asp.bak", "shipped"},
                                                         {"page.asp.bak.1", "shipped 1"},
                                                         {"page.asp.bak.2", "a file of the save"},
                                                         {"page.asp.bak.3", "old"}};
    std::map<std::string, std::string> found;
    for (const auto &entry : fs::directory_iterator(scratch.Path()))
        found[entry.path().filename().string()] = ReadAll(entry.path());
    EXPECT_EQ(found, expected);
}

TEST(SaveTransaction, ATargetThatCannotBeReplacedStopsTheWholeSave)
{
    ScratchDir scratch("blocked");
    MakeSite(scratch.Path(), {{"a.asp", "old a"}, {"b.asp", "old b"}, {"c.asp/inside", "x"}});
    const Snapshot before = TakeSnapshot(scratch.Path());
    EXPECT_THROW(WriteAllOrNothing({{scratch / "a.asp", "new a", true},
                                    {scratch / "b.asp", "new b", false},
                                    {scratch / "c.asp", "new c", false}},
                                   SystemFiles()),
                 WriteError);
    EXPECT_EQ(TakeSnapshot(scratch.Path()), before);
}

// Temporary files of a killed save go at the next save into their folder;
// those of a save still running, and files not of that pattern, stay.
TEST(SaveTransaction, StaleTemporaryFilesGoAtTheNextSave)
{
    ScratchDir scratch("stale");
    const std::string me = std::to_string(::getpid());
    const struct {
        std::string name;
        bool stays;
    } files[] = {
        {".page.asp.qasp-save-99999999-ab12cd.tmp", false},    // no such process
        {".page.asp.qasp-save-" + me + "-zz00zz.tmp", false},  // an earlier save of this one
        {".page.asp.qasp-save-1-ab12cd.tmp", true},            // a process still running
        {".page.asp.qasp-save-99999999-ab12c.tmp", true},      // not quite the pattern
        {"page.asp.qasp-save-99999999-ab12cd.tmp", true},
        {".page.asp.qasp-save-x-ab12cd.tmp", true},
        {"notes.tmp", true},
    };
    for (const auto &f : files)
        WriteAll(scratch / f.name, "x");
    WriteAllOrNothing({{scratch / "page.asp", "new", false}}, SystemFiles());
    for (const auto &f : files)
        EXPECT_EQ(fs::exists(scratch / f.name), f.stays) << f.name;
    EXPECT_EQ(ReadAll(scratch / "page.asp"), "new");
}

// A replaced page keeps what the web server needs to read it: its owner and
// group (a save run as root used to hand it to root), its mode, and its
// extended attributes, an access control list among them.
TEST(SaveTransaction, AReplacedFileKeepsItsOwnerGroupModeAndAttributes)
{
    ScratchDir scratch("owner");
    const fs::path page = scratch / "page.asp";
    WriteAll(page, "old");
    ASSERT_EQ(::chmod(page.c_str(), 0640), 0);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(page.c_str(), 33, 33), 0);
    }
    const std::string note = "kept";
    if (::setxattr(page.c_str(), "user.qasp.note", note.data(), note.size(), 0) != 0)
        GTEST_SKIP() << "no user extended attributes on this file system";
    // user::rw-, user:33:r--, group::r--, mask::r--, other::---
    const unsigned char acl[] = {2,    0,    0,    0,    1,    0, 6, 0, 0xff, 0xff, 0xff, 0xff, 2,    0, 4, 0,
                                 33,   0,    0,    0,    4,    0, 4, 0, 0xff, 0xff, 0xff, 0xff, 0x10, 0, 4, 0,
                                 0xff, 0xff, 0xff, 0xff, 0x20, 0, 0, 0, 0xff, 0xff, 0xff, 0xff};
    const bool withAcl = ::setxattr(page.c_str(), "system.posix_acl_access", acl, sizeof acl, 0) == 0;

    const WriteReport report = WriteAllOrNothing({{page, "new", false}}, SystemFiles());
    EXPECT_TRUE(report.notices.empty()) << report.notices.front();
    EXPECT_EQ(ReadAll(page), "new");
    struct stat st;
    ASSERT_EQ(::stat(page.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    if (root) {
        EXPECT_EQ(st.st_uid, 33u);
        EXPECT_EQ(st.st_gid, 33u);
    }
    char value[64] = {};
    EXPECT_EQ(::getxattr(page.c_str(), "user.qasp.note", value, sizeof value), 4);
    EXPECT_EQ(std::string(value), note);
    if (withAcl) {
        unsigned char got[64];
        ASSERT_EQ(::getxattr(page.c_str(), "system.posix_acl_access", got, sizeof got),
                  static_cast<ssize_t>(sizeof acl));
        EXPECT_EQ(std::memcmp(got, acl, sizeof acl), 0);
    }
}

namespace {

// The system's operations, except that giving a file its old owner is not
// allowed, as for a user saving another user's page.
class NoChownFiles : public FailingFileOperations {
public:
    std::error_code CopyOwnerAndAttributes(const fs::path &, const fs::path &) override
    {
        return std::make_error_code(std::errc::operation_not_permitted);
    }
};

}  // namespace

TEST(SaveTransaction, AnOwnerThatCannotBeKeptIsReportedAndTheSaveGoesOn)
{
    ScratchDir scratch("owner_refused");
    WriteAll(scratch / "page.asp", "old");
    NoChownFiles files;
    const WriteReport report = WriteAllOrNothing({{scratch / "page.asp", "new", false}}, files);
    EXPECT_EQ(ReadAll(scratch / "page.asp"), "new");
    ASSERT_EQ(report.notices.size(), 1u);
    EXPECT_NE(report.notices[0].find("page.asp"), std::string::npos);
    EXPECT_NE(report.notices[0].find("所有者"), std::string::npos);
}
