#include "file_snapshot.h"
#include "project/save_transaction.h"
#include "project/write_error.h"
#include "project/temporary_files.h"
#include "scratch_dir.h"
#include "site_builder.h"

#include <gtest/gtest.h>

#include <map>

#include <unistd.h>

using namespace qasp;
using namespace qasp::testing;
namespace fs = std::filesystem;

TEST(SaveTransaction, ABackupNeverReplacesAFile)
{
    ScratchDir scratch("backup_names");
    MakeSite(scratch.Path(), {{"page.asp", "old"}, {"page.asp.bak", "shipped"}, {"page.asp.bak.1", "shipped 1"}});
    const std::vector<BackupMade> backups = WriteAllOrNothing(
        {{scratch / "page.asp", "new", true}, {scratch / "page.asp.bak.2", "a file of the save", false}},
        SystemFiles());
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
        {".page.asp.qasp-save-99999999-ab12cd.tmp", false},  // no such process
        {".page.asp.qasp-save-" + me + "-zz00zz.tmp", false},  // an earlier save of this one
        {".page.asp.qasp-save-1-ab12cd.tmp", true},  // a process still running
        {".page.asp.qasp-save-99999999-ab12c.tmp", true},  // not quite the pattern
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
