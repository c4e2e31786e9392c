// qasp encodings PATH...: every page named (or every .asp page below a
// folder) with the files it includes: what each file's bytes are, what it
// declares and where, and every conflict between them, listed as qasp
// check lists its problems.
#include "cli/commands.h"

#include "analysis/encoding_audit.h"
#include "cli/command_line.h"
#include "cli/diagnostic_output.h"
#include "cli/page_roots.h"
#include "vbscript/text_position.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <iostream>
#include <map>
#include <set>

namespace qasp::cli {
namespace {

namespace fs = std::filesystem;
using analysis::EncodingAudit;
using nlohmann::json;

constexpr const char *kUsage = "qasp encodings PATH... [--site-root DIR] [--format text|json]";

const char *SourceName(analysis::CodePageSource source)
{
    switch (source) {
    case analysis::CodePageSource::Directive: return "its CodePage";
    case analysis::CodePageSource::ByteOrderMark: return "its byte-order mark";
    case analysis::CodePageSource::PageBytes:
        return "no CodePage: its own bytes, if the server's default agrees";
    case analysis::CodePageSource::Unknown: break;
    }
    return "no CodePage, ASCII: the server's default";
}

struct Place {
    uint32_t line, column;
};

Place PlaceOf(const analysis::SiteFile &file, size_t offset)
{
    vbs::TextCursor cursor;
    cursor.AdvanceTo(file.bytes, offset, file.encoding);
    return {cursor.line, cursor.column};
}

std::string BytesText(const ByteEvidence &e)
{
    std::string text = ByteFormName(e.form);
    if (e.byteOrderMark)
        text += " with a byte-order mark";
    if (e.validInBoth)
        text += " (valid GBK and UTF-8 alike)";
    return text;
}

std::string ValueText(const EncodingDeclaration &d)
{
    return d.IsCodePage() ? d.value : "\"" + d.value + "\"";
}

int Run(Arguments &args)
{
    const std::optional<std::string> siteRootArgument = args.TakeOption("--site-root");
    const std::string format = args.TakeOption("--format").value_or("text");
    if (format != "text" && format != "json")
        throw CommandError("--format takes text or json, not '" + format + "'");
    std::vector<Root> roots;
    for (const std::string &a : args.AllPositional(kUsage))
        for (Root &r : RootsOf(a))
            roots.push_back(std::move(r));

    EncodingAudit audit;
    auto siteOf = [&](const Root &root) {
        return siteRootArgument ? SiteRoot::ForPage(fs::absolute(*siteRootArgument), root.page)
                                : SiteRoot::Around(root.page);
    };
    // A file of a folder that another page includes is read as that page's part.
    std::set<uint32_t> included;
    for (const Root &root : roots) {
        try {
            if (root.fromFolder)
                for (const uint32_t f : audit.IncludedFiles(root.page, siteOf(root)))
                    included.insert(f);
        } catch (const SiteRootError &) {
            // told when the page is read
        }
    }
    std::map<fs::path, fs::path> shownRoots;  // each site root as the command line spells it
    bool failed = false;
    for (const Root &root : roots) {
        try {
            if (root.fromFolder)
                if (const std::optional<uint32_t> id = audit.FileId(root.page); id && included.contains(*id))
                    continue;
            const SiteRoot site = siteOf(root);
            shownRoots.try_emplace(
                site.Path(), siteRootArgument ? fs::path(*siteRootArgument)
                                              : root.shownBase / fs::relative(site.Path(), root.realBase));
            audit.AddPage(root.page, site);
        } catch (const SiteRootError &e) {
            std::cerr << "qasp encodings: " << root.page.string() << ": " << e.what() << '\n';
            failed = true;
        } catch (const analysis::PageCheckError &e) {
            std::cerr << "qasp encodings: " << e.what() << '\n';
            failed = true;
        }
    }
    std::map<uint32_t, fs::path> siteOfFile;
    for (const analysis::PageEncoding &page : audit.Pages())
        for (const uint32_t f : page.files)
            siteOfFile.try_emplace(f, page.site);
    auto shown = [&](uint32_t file) {
        const fs::path &site = siteOfFile.at(file);
        return (shownRoots.at(site) / SiteRoot(site).Relative(audit.Files()[file].path))
            .lexically_normal()
            .string();
    };

    std::vector<ShownDiagnostic> list;
    for (vbs::Diagnostic &d : audit.Findings()) {
        ShownDiagnostic s{shown(d.file), std::move(d), {}};
        for (const vbs::RelatedPlace &r : s.diagnostic.related)
            s.relatedFiles.push_back(shown(r.file));
        list.push_back(std::move(s));
    }
    std::stable_sort(list.begin(), list.end(), [](const ShownDiagnostic &a, const ShownDiagnostic &b) {
        return std::tie(a.file, a.diagnostic.line, a.diagnostic.column)
               < std::tie(b.file, b.diagnostic.line, b.diagnostic.column);
    });
    std::map<uint32_t, const analysis::PageEncoding *> pageOf;
    for (const analysis::PageEncoding &page : audit.Pages())
        pageOf.try_emplace(page.page, &page);
    std::vector<uint32_t> files = audit.FilesMet();
    std::sort(files.begin(), files.end(), [&](uint32_t a, uint32_t b) { return shown(a) < shown(b); });

    const vbs::MessageLanguage language = LanguageOfLocale();
    if (format == "json") {
        json listed = json::array();
        for (const uint32_t f : files) {
            const analysis::FileEncodingFacts &facts = audit.Facts(f);
            json declarations = json::array();
            for (const EncodingDeclaration &d : facts.declarations) {
                const Place place = PlaceOf(audit.Files()[f], d.at);
                declarations.push_back(
                    {{"kind", DeclarationKindName(d.kind)},
                     {"value", d.value},
                     {"literal", d.literal},
                     {"encoding", d.encoding ? json(TextEncodingName(*d.encoding)) : json()},
                     {"line", place.line},
                     {"column", place.column}});
            }
            json entry = {{"file", shown(f)},
                          {"bytes", ByteFormName(facts.bytes.form)},
                          {"byteOrderMark", facts.bytes.byteOrderMark},
                          {"validInBoth", facts.bytes.validInBoth},
                          {"invalidUtf8Bytes", facts.bytes.invalidUtf8},
                          {"invalidGbkCharacters", facts.bytes.invalidGbk},
                          {"declarations", std::move(declarations)}};
            if (const auto it = pageOf.find(f); it != pageOf.end())
                entry["page"] = {{"codePage", it->second->codePage
                                                  ? json(TextEncodingName(*it->second->codePage))
                                                  : json()},
                                 {"from", SourceName(it->second->source)},
                                 {"includes", it->second->files.size() - 1}};
            listed.push_back(std::move(entry));
        }
        const json document = {{"files", std::move(listed)},
                               {"diagnostics", DiagnosticArray(list, language)}};
        std::cout << document.dump(2, ' ', false, json::error_handler_t::replace) << '\n';
    } else {
        for (const uint32_t f : files) {
            const analysis::FileEncodingFacts &facts = audit.Facts(f);
            std::cout << shown(f) << ": " << BytesText(facts.bytes);
            if (const auto it = pageOf.find(f); it != pageOf.end())
                std::cout << "; page read as "
                          << (it->second->codePage ? TextEncodingName(*it->second->codePage) : "either")
                          << " (" << SourceName(it->second->source) << ")";
            for (size_t i = 0; i < facts.declarations.size(); ++i) {
                const EncodingDeclaration &d = facts.declarations[i];
                const Place place = PlaceOf(audit.Files()[f], d.at);
                std::cout << (i ? ", " : "; declares ") << DeclarationKindName(d.kind) << ' ' << ValueText(d)
                          << " at " << place.line << ':' << place.column;
            }
            std::cout << '\n';
        }
        if (!files.empty() && !list.empty())
            std::cout << '\n';
        WriteText(std::cout, list, language);
    }
    if (failed)
        return 2;
    return list.empty() ? 0 : 1;
}

}  // namespace

int EncodingsCommand(Arguments args)
{
    try {
        return Run(args);
    } catch (const CommandError &e) {
        std::cerr << "qasp encodings: " << e.what() << '\n';
        return 2;
    } catch (const fs::filesystem_error &e) {
        std::cerr << "qasp encodings: " << e.what() << '\n';
        return 2;
    }
}

}  // namespace qasp::cli
