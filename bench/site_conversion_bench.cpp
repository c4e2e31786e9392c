// Moving a generated GBK site of 5,000 files to UTF-8 and back: 1,000 pages
// in folders of 50, each with Chinese text around its server blocks, a
// directive and a charset, and four of the site's 4,000 includes, each with
// a <meta> charset. Measured: the plan alone (every file read, surveyed,
// converted in memory and checked to convert back), and a whole run that
// writes every file through the safe save (each iteration goes the other
// way, so the site is GBK and UTF-8 in turn).
#include "convert/site_conversion.h"
#include "text/gbk_codec.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using qasp::TextEncoding;

constexpr int kPages = 1000;
constexpr int kIncludesPerPage = 4;
constexpr int kFolderFiles = 50;

void Write(const fs::path &path, const std::string &utf8)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << qasp::Utf8ToGbk(utf8);
}

std::string IncludeName(int i)
{
    return "inc/" + std::to_string(i / kFolderFiles) + "/part" + std::to_string(i) + ".asp";
}

const fs::path &Site()
{
    static const fs::path root = [] {
        fs::path dir = fs::temp_directory_path() / ("qasp_convert_bench_" + std::to_string(::getpid()));
        fs::remove_all(dir);
        Write(dir / "global.asa", "<SCRIPT LANGUAGE=VBScript RUNAT=Server>\r\nSub Session_OnStart\r\n"
                                  "' 会话开始\r\nSession.CodePage = 936\r\nEnd Sub\r\n</SCRIPT>\r\n");
        for (int i = 0; i < kPages * kIncludesPerPage; ++i) {
            std::string text =
                "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">\r\n<%\r\n";
            for (int line = 0; line < 20; ++line)
                text += "Dim part" + std::to_string(i) + "_" + std::to_string(line) + " : part"
                        + std::to_string(i) + "_" + std::to_string(line) + " = \"栏目名称与说明文字第"
                        + std::to_string(line) + "行\"\r\n";
            Write(dir / IncludeName(i), text + "%>\r\n<p>公共部分，版权所有。</p>\r\n");
        }
        for (int p = 0; p < kPages; ++p) {
            std::string text = "<%@ Language=VBScript CodePage=936 %>\r\n";
            for (int k = 0; k < kIncludesPerPage; ++k)
                text += "<!--#include virtual=\"/"
                        + IncludeName((p * 7 + k * 977) % (kPages * kIncludesPerPage)) + "\"-->\r\n";
            text += "<% Response.Charset = \"gb2312\" %>\r\n<html><body>\r\n";
            for (int para = 0; para < 30; ++para)
                text += "<p>这是第" + std::to_string(para)
                        + "段新闻内容，介绍网站的栏目、服务与联系方式。</p>\r\n"
                        + "<% Response.Write \"动态内容\" & Now() %>\r\n";
            Write(dir / ("pages/" + std::to_string(p / kFolderFiles)) / ("page" + std::to_string(p) + ".asp"),
                  text + "</body></html>\r\n");
        }
        return dir;
    }();
    return root;
}

void BM_PlanSiteConversion(benchmark::State &state)
{
    qasp::convert::ConversionOptions options;
    options.target = TextEncoding::Utf8;
    Site();  // made before the clock starts
    for (auto _ : state) {
        const qasp::convert::ConversionPlan plan = qasp::convert::PlanConversion({Site()}, options);
        if (!plan.CanRun() || plan.files.size() != 1 + kPages * (1 + kIncludesPerPage))
            state.SkipWithError("the generated site did not plan whole");
        benchmark::DoNotOptimize(plan.files.data());
    }
    state.counters["files"] = static_cast<double>(1 + kPages * (1 + kIncludesPerPage));
}
BENCHMARK(BM_PlanSiteConversion)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ConvertSite(benchmark::State &state)
{
    qasp::convert::ConversionOptions options;
    options.target = TextEncoding::Utf8;
    size_t written = 0;
    for (auto _ : state) {
        const qasp::convert::ConversionPlan plan = qasp::convert::PlanConversion({Site()}, options);
        written = plan.ChangedFiles();
        qasp::convert::RunConversion(plan);
        options.target = options.target == TextEncoding::Utf8 ? TextEncoding::Gbk : TextEncoding::Utf8;
    }
    state.counters["files written"] = static_cast<double>(written);
}
// An even count: the site ends as GBK, as it began.
BENCHMARK(BM_ConvertSite)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    fs::remove_all(Site());
    return 0;
}
