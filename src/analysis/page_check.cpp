#include "analysis/page_check.h"

#include "analysis/page_assembly.h"
#include "analysis/page_checks.h"
#include "vbscript/names.h"
#include "vbscript/parser.h"

#include <algorithm>
#include <unordered_set>

namespace qasp::analysis {

std::vector<uint32_t> PageChecker::IncludedFiles(const std::filesystem::path &pageArgument,
                                                 const SiteRoot &site)
{
    const std::filesystem::path page = std::filesystem::absolute(pageArgument);
    const std::optional<uint32_t> id = files_.Open(page, RealPathKey(page), nullptr);
    if (!id)
        return {};
    IncludeResolver &resolver = resolvers_.try_emplace(site.Path().native(), site).first->second;
    try {
        std::vector<uint32_t> used = AssemblePage(*id, resolver, files_).filesUsed;
        used.erase(used.begin());
        return used;
    } catch (const AssemblyError &) {
        return {};  // Check says why
    }
}

void PageChecker::KeepScriptElements(AssembledPage &page) const
{
    size_t kept = 0;
    for (size_t i = 0; i < page.pieces.size(); ++i) {
        const PieceOrigin o = page.origins[i];
        if (!files_[o.file].inScriptElement[o.piece])
            continue;
        page.pieces[kept] = page.pieces[i];
        page.origins[kept++] = o;
    }
    page.pieces.resize(kept);
    page.origins.resize(kept);
}

const ApplicationNames &PageChecker::ApplicationOf(const SiteRoot &site)
{
    const auto it = applications_.find(site.Path().native());
    if (it != applications_.end())
        return it->second;
    return applications_.emplace(site.Path().native(), ReadApplicationNames(site.Path(), files_))
        .first->second;
}

std::optional<uint32_t> PageChecker::FileId(const std::filesystem::path &page)
{
    const std::filesystem::path absolute = std::filesystem::absolute(page);
    return files_.Open(absolute, RealPathKey(absolute), nullptr);
}

std::vector<vbs::Diagnostic> PageChecker::Check(const std::filesystem::path &pageArgument,
                                                const SiteRoot &site)
{
    // The resolver places includes from the including file's absolute path.
    const std::filesystem::path page = std::filesystem::absolute(pageArgument);
    SiteFileError error;
    const std::optional<uint32_t> id = files_.Open(page, RealPathKey(page), &error);
    if (!id)
        throw PageCheckError(error.message);
    IncludeResolver &resolver = resolvers_.try_emplace(site.Path().native(), site).first->second;
    AssembledPage assembled;
    try {
        assembled = AssemblePage(*id, resolver, files_);
    } catch (const AssemblyError &e) {
        throw PageCheckError(page.string() + ": " + e.what());
    }
    for (const uint32_t f : assembled.filesUsed)
        siteOf_.try_emplace(f, site.Path());
    // A page in another language (<%@ LANGUAGE="JScript" %>): its blocks and
    // those of its includes are not VBScript, its server VBScript elements
    // are, and may call any of its functions.
    const bool vbscriptPage = files_[*id].blocksAreVBScript;
    if (!vbscriptPage)
        KeepScriptElements(assembled);

    // Each piece of a shared include is lexed once however many pages have it.
    const vbs::PieceTokens tokens = [&](size_t piece) {
        const PieceOrigin &o = assembled.origins[piece];
        return files_.PieceTokens(o.file, o.piece);
    };
    const vbs::ParseResult parsed = vbs::ParsePage(assembled.pieces, tokens);
    // A page's own file is seldom another page's include: keeping its tokens
    // would hold a whole site's in memory for nothing.
    files_.ForgetTokens(*id);
    const FileEncoding encoding = [this](uint32_t file) { return files_[file].encoding; };
    std::vector<vbs::Diagnostic> out = std::move(assembled.includeProblems);
    out.insert(out.end(), parsed.diagnostics.begin(), parsed.diagnostics.end());
    // Names the page has besides its VBScript declarations: functions of its
    // server JScript, its server objects and those of global.asa.
    const ApplicationNames &application = ApplicationOf(site);
    std::unordered_set<std::string> otherGlobals(application.objects.begin(), application.objects.end());
    // A type library's constants and a JScript page's names cannot be listed.
    bool unknownGlobals = application.typeLibrary || !vbscriptPage;
    for (const uint32_t f : assembled.filesUsed) {
        const SiteFile &file = files_[f];
        otherGlobals.insert(file.scriptFunctions.begin(), file.scriptFunctions.end());
        for (const ServerObject &o : file.serverObjects)
            otherGlobals.insert(vbs::FoldName(o.id, file.encoding));
        unknownGlobals = unknownGlobals || file.importsTypeLibrary;
    }
    for (auto &&found : {CheckNames(parsed.tree, encoding, otherGlobals, unknownGlobals),
                         CheckUnreachableCode(parsed.tree, encoding)})
        out.insert(out.end(), found.begin(), found.end());
    std::stable_sort(out.begin(), out.end(), [](const vbs::Diagnostic &a, const vbs::Diagnostic &b) {
        return std::tie(a.file, a.offset) < std::tie(b.file, b.offset);
    });
    return out;
}

}  // namespace qasp::analysis
