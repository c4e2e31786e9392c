#include "analysis/page_assembly.h"

#include "analysis/check_messages.h"
#include "text/gbk_codec.h"
#include "vbscript/text_position.h"

#include <algorithm>
#include <unordered_set>

namespace qasp::analysis {
namespace {

using vbs::Diagnostic;

// A file being walked: how far its pieces and directives have gone.
struct OpenFile {
    uint32_t id;
    size_t nextPiece = 0;
    size_t nextInclude = 0;
    vbs::TextCursor cursor;  // at the last directive met, for its column
};

Diagnostic AtDirective(const SiteFile &file, OpenFile &open, const IncludeDirective &d, int aspNumber,
                       vbs::Severity severity)
{
    open.cursor.AdvanceTo(file.bytes, d.begin, file.encoding);
    vbs::TextCursor end = open.cursor;
    end.AdvanceTo(file.bytes, d.end, file.encoding);
    Diagnostic diagnostic;
    diagnostic.file = open.id;
    diagnostic.offset = static_cast<uint32_t>(d.begin);
    diagnostic.endOffset = static_cast<uint32_t>(d.end);
    diagnostic.line = open.cursor.line;
    diagnostic.column = open.cursor.column;
    diagnostic.endLine = end.line;
    diagnostic.endColumn = end.column;
    diagnostic.severity = severity;
    diagnostic.code = aspNumber;
    diagnostic.messageKey = AspMessageKey(aspNumber);
    diagnostic.argument = file.encoding == TextEncoding::Gbk ? GbkToUtf8(d.path) : d.path;
    return diagnostic;
}

}  // namespace

bool HasParentStep(std::string_view path)
{
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find_first_of("/\\", start);
        if (end == std::string_view::npos)
            end = path.size();
        if (path.substr(start, end - start) == "..")
            return true;
        start = end + 1;
    }
    return false;
}

AssembledPage AssemblePage(uint32_t page, IncludeResolver &resolver, SiteFiles &files)
{
    AssembledPage result;
    std::unordered_set<uint32_t> used{page};
    result.filesUsed.push_back(page);
    // The files walked, with a stack of their own: an include chain
    // thousands deep costs no call stack. `chain` holds the ids on it.
    std::vector<OpenFile> open{{page, 0, 0, {}}};
    std::unordered_set<uint32_t> chain{page};
    while (!open.empty()) {
        OpenFile &f = open.back();
        const SiteFile &file = files[f.id];
        const bool morePieces = f.nextPiece < file.pieces.size();
        const bool moreIncludes = f.nextInclude < file.includes.size();
        if (!morePieces && !moreIncludes) {
            chain.erase(f.id);
            open.pop_back();
            continue;
        }
        if (morePieces
            && (!moreIncludes || file.pieces[f.nextPiece].offset < file.includes[f.nextInclude].begin)) {
            if (result.pieces.size() >= kMaxPagePieces)
                throw AssemblyError("the page with its includes has more than "
                                    + std::to_string(kMaxPagePieces) + " pieces (files included too often)");
            result.origins.push_back({f.id, static_cast<uint32_t>(f.nextPiece)});
            result.pieces.push_back(file.pieces[f.nextPiece++]);
            continue;
        }
        const IncludeDirective &d = file.includes[f.nextInclude++];
        const bool gbk = file.encoding == TextEncoding::Gbk;
        if (HasParentStep(d.path))
            result.includeProblems.push_back(AtDirective(file, f, d, kAspParentPath, vbs::Severity::Warning));
        const IncludeTarget &target = resolver.Resolve(file.path, d.kind, d.path, gbk);
        std::optional<uint32_t> id;
        SiteFileError unreadable;
        if (target.Found())
            id = files.Open(target.path, target.key, &unreadable);
        if (!id) {
            Diagnostic missing = AtDirective(file, f, d, kAspIncludeNotFound, vbs::Severity::Error);
            // A plain missing file needs no more words than the message's.
            const std::string why = target.Found()                                      ? unreadable.message
                                    : target.outcome == IncludeTarget::Outcome::Missing ? std::string()
                                                                                        : target.reason;
            if (!why.empty())
                missing.argument += " (" + why + ")";
            result.includeProblems.push_back(std::move(missing));
            continue;
        }
        // Another language's script: its functions count, its text is not
        // the page's VBScript.
        if (std::binary_search(file.otherLanguageSources.begin(), file.otherLanguageSources.end(), d.begin)) {
            if (used.insert(*id).second)
                result.filesUsed.push_back(*id);
            continue;
        }
        if (chain.contains(*id)) {
            result.includeProblems.push_back(
                AtDirective(file, f, d, kAspCyclicInclude, vbs::Severity::Error));
            continue;
        }
        if (used.insert(*id).second)
            result.filesUsed.push_back(*id);
        chain.insert(*id);
        open.push_back({*id, 0, 0, {}});  // f is not used after this: the stack may move
    }
    return result;
}

}  // namespace qasp::analysis
