// qasp check PATH...: every page named (or every .asp page below a folder)
// checked as the server compiles it, its includes followed, and each
// problem listed once however many pages include its file.
#include "cli/commands.h"

#include "analysis/page_check.h"
#include "cli/command_line.h"
#include "cli/diagnostic_output.h"
#include "cli/page_roots.h"
#include "site/site_root.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <tuple>

#include <unistd.h>

namespace qasp::cli {
namespace {

namespace fs = std::filesystem;

constexpr const char *kUsage =
    "qasp check PATH... [--site-root DIR] [--encoding auto|gbk|utf-8] [--format text|json|sarif]";

int Run(Arguments &args)
{
    const std::optional<std::string> siteRootArgument = args.TakeOption("--site-root");
    const std::string format = args.TakeOption("--format").value_or("text");
    if (format != "text" && format != "json" && format != "sarif")
        throw CommandError("--format takes text, json or sarif, not '" + format + "'");
    std::optional<TextEncoding> encoding;
    if (const std::optional<std::string> e = args.TakeOption("--encoding")) {
        if (*e == "gbk")
            encoding = TextEncoding::Gbk;
        else if (*e == "utf-8" || *e == "utf8")
            encoding = TextEncoding::Utf8;
        else if (*e != "auto")
            throw CommandError("--encoding takes auto, gbk or utf-8, not '" + *e + "'");
    }
    std::vector<Root> roots;
    for (const std::string &a : args.AllPositional(kUsage))
        for (Root &r : RootsOf(a))
            roots.push_back(std::move(r));

    analysis::PageChecker checker(encoding);
    // How each site root is spelled in the listing: from the command line.
    std::map<fs::path, fs::path> shownRoots;
    std::vector<ShownDiagnostic> list;
    std::set<std::tuple<uint32_t, uint32_t, uint32_t, std::string, std::string>> seen;
    // Finding a site root reads the folders above the page: once per folder.
    std::map<fs::path, SiteRoot> siteOfFolder;
    auto siteOf = [&](const Root &root) {
        if (siteRootArgument)
            return SiteRoot::ForPage(fs::absolute(*siteRootArgument), root.page);
        const fs::path folder = fs::absolute(root.page).parent_path();
        const auto it = siteOfFolder.find(folder);
        if (it != siteOfFolder.end())
            return it->second;
        return siteOfFolder.emplace(folder, SiteRoot::Around(root.page)).first->second;
    };
    // A file of a folder that another page includes is a part of pages, not
    // a page: its problems are those of the pages that include it.
    std::set<uint32_t> included;
    for (const Root &root : roots) {
        try {
            if (root.fromFolder)
                for (const uint32_t f : checker.IncludedFiles(root.page, siteOf(root)))
                    included.insert(f);
        } catch (const SiteRootError &) {
            // told when the page is checked
        }
    }
    const bool progress = ::isatty(STDERR_FILENO) != 0;
    bool failed = false;
    for (size_t i = 0; i < roots.size(); ++i) {
        const Root &root = roots[i];
        if (root.fromFolder) {
            const std::optional<uint32_t> id = checker.FileId(root.page);
            if (id && included.contains(*id))
                continue;
        }
        if (progress)
            std::cerr << "\r\033[K[" << i + 1 << '/' << roots.size() << "] " << root.page.string()
                      << std::flush;
        try {
            const SiteRoot site = siteOf(root);
            shownRoots.try_emplace(
                site.Path(), siteRootArgument ? fs::path(*siteRootArgument)
                                              : root.shownBase / fs::relative(site.Path(), root.realBase));
            for (vbs::Diagnostic &d : checker.Check(root.page, site)) {
                if (!seen.emplace(d.file, d.offset, d.endOffset, d.messageKey, d.argument).second)
                    continue;
                auto shown = [&](uint32_t file) {
                    const fs::path &fileSite = checker.SiteOf(file);
                    const std::string below = SiteRoot(fileSite).Relative(checker.Files()[file].path);
                    return (shownRoots.at(fileSite) / below).lexically_normal().string();
                };
                ShownDiagnostic s{shown(d.file), std::move(d), {}};
                for (const vbs::RelatedPlace &r : s.diagnostic.related)
                    s.relatedFiles.push_back(shown(r.file));
                list.push_back(std::move(s));
            }
        } catch (const SiteRootError &e) {
            std::cerr << (progress ? "\n" : "") << "qasp check: " << root.page.string() << ": " << e.what()
                      << '\n';
            failed = true;
        } catch (const analysis::PageCheckError &e) {
            std::cerr << (progress ? "\n" : "") << "qasp check: " << e.what() << '\n';
            failed = true;
        }
    }
    if (progress)
        std::cerr << "\r\033[K" << std::flush;
    std::stable_sort(list.begin(), list.end(), [](const ShownDiagnostic &a, const ShownDiagnostic &b) {
        return std::tie(a.file, a.diagnostic.line, a.diagnostic.column)
               < std::tie(b.file, b.diagnostic.line, b.diagnostic.column);
    });
    const vbs::MessageLanguage language = LanguageOfLocale();
    if (format == "json")
        WriteJson(std::cout, list, language);
    else if (format == "sarif")
        WriteSarif(std::cout, list, language);
    else
        WriteText(std::cout, list, language);
    if (failed)
        return 2;
    const bool anyError = std::any_of(list.begin(), list.end(), [](const ShownDiagnostic &s) {
        return s.diagnostic.severity == vbs::Severity::Error;
    });
    return anyError ? 1 : 0;
}

}  // namespace

int CheckCommand(Arguments args)
{
    // A run that cannot start is told apart from a page with errors.
    try {
        return Run(args);
    } catch (const CommandError &e) {
        std::cerr << "qasp check: " << e.what() << '\n';
        return 2;
    } catch (const fs::filesystem_error &e) {
        std::cerr << "qasp check: " << e.what() << '\n';
        return 2;
    }
}

}  // namespace qasp::cli
