// Whole files read within a limit: devices, pipes and files that hold more
// than their size says are refused without reading past the limit, by the
// reader and by the loader and the flattener that use it.
#include "editor/keyword_store.h"
#include "project/asp_loader.h"
#include "scratch_dir.h"
#include "site/page_flattening.h"
#include "text/file_read.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

using namespace qasp;
using qasp::testing::ScratchDir;
using qasp::testing::WriteAll;
namespace fs = std::filesystem;

namespace {

// A file of /proc: regular, of size 0, yet it holds more than a hundred
// bytes, as a file that grows while it is read does.
const fs::path kGrowing = "/proc/self/status";

TEST(FileRead, ARegularFileUpToItsLimit)
{
    ScratchDir dir{"file_read_regular"};
    WriteAll(dir / "a.asp", "0123456789");
    const FileRead whole = ReadFileWithin(dir / "a.asp", 10);
    ASSERT_TRUE(whole.Ok());
    EXPECT_EQ(whole.bytes, "0123456789");

    const FileRead over = ReadFileWithin(dir / "a.asp", 9);
    EXPECT_EQ(over.outcome, FileRead::Outcome::TooLarge);
    EXPECT_EQ(over.size, 10u);
    EXPECT_EQ(FileReadProblem(over, "a.asp", 9), "文件 a.asp 有 10 字节，超过了 9 字节 的上限");
    EXPECT_EQ(FileReadProblem(over, "a.asp", std::uintmax_t{2} << 20),
              "文件 a.asp 有 10 字节，超过了 2 MB 的上限");
}

TEST(FileRead, DevicesPipesAndFoldersAreNoFiles)
{
    ScratchDir dir{"file_read_devices"};
    const fs::path fifo = dir / "pipe.asp";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // No writer ever opens the FIFO: a reader that waited for one would hang.
    for (const fs::path &path : {fs::path("/dev/zero"), fifo}) {
        const FileRead read = ReadFileWithin(path, 100);
        EXPECT_EQ(read.outcome, FileRead::Outcome::NotAFile) << path;
        EXPECT_NE(FileReadProblem(read, path.string(), 100).find("不是普通文件"), std::string::npos);
    }
    const FileRead folder = ReadFileWithin(dir.Path(), 100);
    EXPECT_EQ(folder.outcome, FileRead::Outcome::NotAFile);
    EXPECT_EQ(folder.error, EISDIR);
    const FileRead missing = ReadFileWithin(dir / "none.asp", 100);
    EXPECT_EQ(missing.outcome, FileRead::Outcome::CannotOpen);
    EXPECT_EQ(missing.error, ENOENT);
    EXPECT_TRUE(ProbeRegularFile(kGrowing).Ok());
    EXPECT_EQ(ProbeRegularFile("/dev/zero").outcome, FileRead::Outcome::NotAFile);
}

TEST(FileRead, NeverReadsPastTheLimitWhateverTheSizeSaid)
{
    const FileRead read = ReadFileWithin(kGrowing, 100);
    EXPECT_EQ(read.outcome, FileRead::Outcome::TooLarge);
    EXPECT_TRUE(read.sizeUnknown);
    EXPECT_EQ(FileReadProblem(read, "s", 100), "文件 s 超过了 100 字节 的上限");

    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ASSERT_EQ(::write(ends[1], std::string(100, 'x').data(), 100), 100);
    ::close(ends[1]);
    EXPECT_EQ(ReadStreamWithin(ends[0], 10).outcome, FileRead::Outcome::TooLarge);
    char rest[100];
    EXPECT_EQ(::read(ends[0], rest, sizeof rest), 89);  // limit + 1 bytes were taken
    ::close(ends[0]);
}

class LimitedLoadTest : public ::testing::Test {
protected:
    std::string LoadError(const fs::path &page)
    {
        ProjectTree tree;
        KeywordStore store{":memory:"};
        LoadContext context;
        context.siteRoot = page.parent_path();
        context.limits.documentBytes = 100;
        try {
            LoadAspDocument(tree, nullptr, page, store, context);
        } catch (const qasp::LoadError &e) {
            return e.what();
        }
        return "loaded";
    }
    std::string FlattenError(const fs::path &page)
    {
        try {
            FlattenPage(page, SiteRoot(page.parent_path()), std::nullopt, 100);
        } catch (const qasp::FlattenError &e) {
            return e.what();
        }
        return "flattened";
    }
};

TEST_F(LimitedLoadTest, ARootPageThatIsNoFileOrGrowsPastTheLimitIsRefused)
{
    ScratchDir dir{"file_read_root"};
    const fs::path fifo = dir / "pipe.asp";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const fs::path &page : {fs::path("/dev/zero"), fifo}) {
        EXPECT_NE(LoadError(page).find("不是普通文件（是设备、管道或套接字），不能作为 ASP 文档打开"),
                  std::string::npos)
            << page;
        EXPECT_NE(FlattenError(page).find("不是普通文件"), std::string::npos) << page;
    }
    EXPECT_EQ(LoadError(kGrowing),
              "文件 " + kGrowing.string() + " 超过了 100 字节 的上限，不能作为 ASP 文档打开");
    EXPECT_NE(FlattenError(kGrowing).find("超过了 100 字节 的上限"), std::string::npos);
}

TEST_F(LimitedLoadTest, AnIncludedFileOverTheLimitIsNamedWithItsDirective)
{
    ScratchDir dir{"file_read_include"};
    WriteAll(dir / "index.asp", "<!--#include file=\"big.asp\"-->\r\n");
    WriteAll(dir / "big.asp", std::string(101, 'x'));
    EXPECT_EQ(LoadError(dir / "index.asp"), "文件 big.asp（index.asp 第 1 行：<!--#include "
                                            "file=\"big.asp\"-->） 有 101 字节，超过了 100 字节 的上限，"
                                            "不能作为 ASP 文档打开");
    EXPECT_EQ(FlattenError(dir / "index.asp"), "文件 big.asp 有 101 字节，超过了 100 字节 的上限");
}

}  // namespace
