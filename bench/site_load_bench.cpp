// Loading pages of a generated site shaped like the real ones: folders of 50
// files, GBK and UTF-8 pages side by side, each page HTML around several
// server blocks and a few procedures, including shared files with file= and
// virtual=. Measured: the page with the most includes (it should open well
// under 100 ms), and a pass opening every page as the root at three sizes of
// site, whose time should grow in proportion to the number of files.
#include "editor/keyword_store.h"
#include "project/asp_loader.h"
#include "text/gbk_codec.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr int kFolderFiles = 50;
constexpr int kShared = kFolderFiles;  // the first folder: files every page draws on

std::string Two(int n)
{
    return (n < 10 ? "0" : "") + std::to_string(n);
}

std::string SharedName(int i)
{
    return "s" + Two(i) + ".asp";
}

// Chinese text in the file's own encoding; the source is UTF-8.
std::string Chinese(const std::string &utf8, bool gbk)
{
    return gbk ? qasp::Utf8ToGbk(utf8) : utf8;
}

std::string CodePageLine(bool gbk)
{
    return std::string("<%@ Language=VBScript CodePage=") + (gbk ? "936" : "65001") + " %>\r\n";
}

// A shared library file: a few declarations and procedures; every fifth
// starts a chain of five, each including the next.
std::string SharedFile(int i)
{
    const bool gbk = i % 2 == 0;
    const std::string id = std::to_string(i);
    std::string text = CodePageLine(gbk);
    if (i % 5 != 4)
        text += "<!--#include file=\"" + SharedName(i + 1) + "\"-->\r\n";
    text += "<%\r\nDim shared" + id + "_conn, shared" + id + "_name\r\n";
    text += "shared" + id + "_name = \"" + Chinese("公共模块", gbk) + id + "\"\r\n";
    for (int f = 0; f < 4; ++f) {
        const std::string name = "Lib" + id + "_" + std::to_string(f);
        text += "\r\n' " + Chinese("返回处理后的值", gbk) + "\r\nFunction " + name + "(a, b)\r\n";
        text += "\tIf a > b Then\r\n\t\t" + name + " = a - b\r\n\tElse\r\n\t\t" + name
                + " = b - a\r\n\tEnd If\r\n";
        text += "End Function\r\n";
    }
    return text + "%>\r\n";
}

// A page: three shared files included (one virtual=, two file=), HTML
// around four server blocks, two procedures and a class. LF line ends in
// every third folder.
std::string Page(int folder, int file)
{
    const bool gbk = folder % 2 == 0;
    const std::string id = std::to_string(folder) + "_" + std::to_string(file);
    const int n = folder * kFolderFiles + file;
    std::string text = CodePageLine(gbk);
    text += "<!--#include virtual=\"/shared/" + SharedName(n % kShared) + "\"-->\r\n";
    text += "<!--#include file=\"../shared/" + SharedName((n * 7 + 3) % kShared) + "\"-->\r\n";
    text += R"(<!--#INCLUDE FILE="..\shared\)" + SharedName((n * 13 + 5) % kShared) + "\"-->\r\n";
    text += "<html>\r\n<head><title>" + Chinese("页面", gbk) + " " + id + "</title></head>\r\n<body>\r\n";
    text += "<% Dim total" + id + ", name" + id + "\r\ntotal" + id + " = 0 %>\r\n";
    text += "<h1>" + Chinese("商品列表", gbk) + "</h1>\r\n<table>\r\n";
    for (int row = 0; row < 12; ++row)
        text += "<tr><td>" + std::to_string(row) + "</td><td>" + Chinese("名称", gbk) + "</td><td><%= total"
                + id + " + " + std::to_string(row) + " %></td></tr>\r\n";
    text +=
        "</table>\r\n<%\r\nFunction Sum" + id + "(a, b)\r\n\tSum" + id + " = a + b\r\nEnd Function\r\n\r\n";
    text += "Sub Show" + id + "(x)\r\n\tResponse.Write \"<p>\" & x & \"</p>\"\r\nEnd Sub\r\n%>\r\n";
    text += "<p>" + Chinese("说明：这是一段用来撑起页面的文字。", gbk) + "</p>\r\n";
    text +=
        "<%\r\nClass Cart" + id + "\r\n\tPrivate items\r\n\tPublic Sub Add(x)\r\n\t\titems = items & x\r\n";
    text += "\tEnd Sub\r\n\tPublic Property Get Count()\r\n\t\tCount = Len(items)\r\n\tEnd Property\r\nEnd "
            "Class\r\n";
    text += "Call Show" + id + "(\"" + Chinese("完成", gbk) + "\")\r\n%>\r\n</body>\r\n</html>\r\n";
    if (folder % 3 == 0) {
        std::string lf;
        for (char c : text)
            if (c != '\r')
                lf += c;
        return lf;
    }
    return text;
}

// The page with the most includes: every shared file, half by virtual=.
std::string IndexPage()
{
    std::string text = CodePageLine(true);
    for (int i = 0; i < kShared; ++i)
        text += i % 2 ? "<!--#include virtual=\"/shared/" + SharedName(i) + "\"-->\r\n"
                      : "<!--#include file=\"shared/" + SharedName(i) + "\"-->\r\n";
    return text + "<html><body><% Response.Write Lib0_0(1, 2) %></body></html>\r\n";
}

// `files` files (a multiple of 50) in a scratch folder: global.asa and
// index.asp at the top, the shared folder, then folders of pages.
class GeneratedSite {
public:
    explicit GeneratedSite(int files)
        : dir_(fs::temp_directory_path()
               / ("qasp_bench_site_" + std::to_string(::getpid()) + "_" + std::to_string(files)))
    {
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "shared");
        Write(dir_ / "global.asa", "<script language=\"vbscript\" runat=\"server\">\r\n</script>\r\n");
        Write(dir_ / "index.asp", IndexPage());
        pages_.push_back(dir_ / "index.asp");
        for (int i = 0; i < kShared; ++i) {
            Write(dir_ / "shared" / SharedName(i), SharedFile(i));
            pages_.push_back(dir_ / "shared" / SharedName(i));
        }
        for (int folder = 1; folder < files / kFolderFiles; ++folder) {
            const fs::path sub = dir_ / ("d" + std::to_string(folder));
            fs::create_directories(sub);
            for (int file = 0; file < kFolderFiles; ++file) {
                const fs::path page = sub / ("p" + Two(file) + ".asp");
                Write(page, Page(folder, file));
                pages_.push_back(page);
            }
        }
    }
    ~GeneratedSite() { fs::remove_all(dir_); }
    GeneratedSite(const GeneratedSite &) = delete;
    GeneratedSite &operator=(const GeneratedSite &) = delete;

    const fs::path &Index() const { return pages_.front(); }
    const std::vector<fs::path> &Pages() const { return pages_; }

private:
    static void Write(const fs::path &path, const std::string &bytes)
    {
        std::ofstream(path, std::ios::binary) << bytes;
    }

    fs::path dir_;
    std::vector<fs::path> pages_;
};

const GeneratedSite &Site(int files)
{
    static std::map<int, std::unique_ptr<GeneratedSite>> sites;
    auto &site = sites[files];
    if (!site)
        site = std::make_unique<GeneratedSite>(files);
    return *site;
}

// Each page opened as the editor opens it: its site root found, a new tree.
void Open(const fs::path &page, qasp::KeywordStore &store)
{
    qasp::ProjectTree tree;
    qasp::LoadContext context;
    qasp::LoadAspDocument(tree, nullptr, page, store, context);
    benchmark::DoNotOptimize(tree.FirstTopLevel());
}

void BM_LoadBusiestPage(benchmark::State &state)
{
    const GeneratedSite &site = Site(5000);
    qasp::KeywordStore store(":memory:");
    for (auto _ : state)
        Open(site.Index(), store);
}
BENCHMARK(BM_LoadBusiestPage)->Unit(benchmark::kMillisecond);

void BM_WholeSitePass(benchmark::State &state)
{
    const GeneratedSite &site = Site(static_cast<int>(state.range(0)));
    qasp::KeywordStore store(":memory:");
    for (auto _ : state)
        for (const fs::path &page : site.Pages())
            Open(page, store);
    state.SetComplexityN(state.range(0));
    state.counters["pages"] = static_cast<double>(site.Pages().size());
    state.counters["per_page"] =
        benchmark::Counter(static_cast<double>(site.Pages().size()),
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_WholeSitePass)
    ->Arg(1250)
    ->Arg(2500)
    ->Arg(5000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
