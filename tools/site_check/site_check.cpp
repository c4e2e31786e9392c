// site_check SITE_DIR|PAGE.asp [--site-root DIR] [--encoding auto|gbk|utf-8]
//            [--every-procedure] [--examples N] [--name NAME]
// Opens every .asp page of a site as the root and checks what the editor
// promises of it (page_check.h); prints the site's figures and a summary
// line for tools/measure_sites.sh. Exits 1 when bytes changed that no edit
// asked for.
#include "page_check.h"
#include "site_tally.h"

#include <algorithm>
#include <chrono>
#include <iostream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace qasp::sitecheck;

constexpr const char *kUsage = "usage: site_check SITE_DIR|PAGE.asp [--site-root DIR] "
                               "[--encoding auto|gbk|utf-8] [--every-procedure] [--examples N] [--name NAME]";

std::string Lower(std::string s)
{
    for (char &c : s)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return s;
}

// FrontPage keeps a metadata file named like each page (vti_encoding:...):
// not a page.
bool IsMetadataFolder(const fs::path &name)
{
    const std::string n = Lower(name.string());
    return n.rfind("_vti_", 0) == 0 || n == "vti_cnf";
}

struct Pages {
    std::vector<fs::path> pages;
    int metadata = 0;
};

Pages FindPages(const fs::path &folder)
{
    Pages found;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec), end;
         !ec && it != end; it.increment(ec)) {
        std::error_code kind;
        if (!it->is_regular_file(kind) || Lower(it->path().extension().string()) != ".asp")
            continue;
        const fs::path relative = it->path().lexically_relative(folder);
        if (std::any_of(relative.begin(), relative.end(), IsMetadataFolder))
            ++found.metadata;
        else
            found.pages.push_back(it->path());
    }
    std::sort(found.pages.begin(), found.pages.end());
    return found;
}

}  // namespace

int main(int argc, char **argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    CheckOptions options;
    std::size_t examples = 5;
    std::string name;
    fs::path target;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--site-root" && hasValue) {
            options.siteRoot = fs::absolute(args[++i]);
        } else if (a == "--encoding" && hasValue) {
            const std::string &e = args[++i];
            if (e == "gbk")
                options.encoding = qasp::EncodingChoice::Gbk;
            else if (e == "utf-8" || e == "utf8")
                options.encoding = qasp::EncodingChoice::Utf8;
            else if (e != "auto") {
                std::cerr << kUsage << '\n';
                return 2;
            }
        } else if (a == "--examples" && hasValue) {
            examples = std::stoul(args[++i]);
        } else if (a == "--every-procedure") {
            options.everyProcedure = true;
        } else if (a == "--name" && hasValue) {
            name = args[++i];
        } else if (target.empty() && !a.starts_with("--")) {
            target = fs::absolute(a);
        } else {
            std::cerr << kUsage << '\n';
            return 2;
        }
    }
    std::error_code ec;
    if (target.empty() || !fs::exists(target, ec)) {
        std::cerr << kUsage << '\n';
        return 2;
    }
    const bool onePage = fs::is_regular_file(target, ec);
    fs::path folder = onePage ? target.parent_path() : target.lexically_normal();
    if (!folder.has_filename())
        folder = folder.parent_path();
    if (name.empty())
        name = (onePage ? target : folder).filename().string();

    const auto start = std::chrono::steady_clock::now();
    Pages pages = onePage ? Pages{{target}, 0} : FindPages(folder);
    SiteTally tally(name, folder);
    for (int i = 0; i < pages.metadata; ++i)
        tally.SkipMetadata();
    for (const fs::path &page : pages.pages)
        tally.Add(CheckPage(page, options));
    tally.SetSeconds(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    tally.Print(std::cout, examples);
    std::cout << SiteTally::RowHeader() << '\n' << tally.Row() << '\n';
    return tally.SaveFaults() ? 1 : 0;
}
