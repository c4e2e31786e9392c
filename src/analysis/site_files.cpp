#include "analysis/site_files.h"

#include "text/encoding_detection.h"
#include "analysis/html_tag.h"
#include "text/byte_string.h"
#include "text/file_read.h"
#include "vbscript/lexer.h"

#include <algorithm>
#include <cctype>

namespace qasp::analysis {
namespace {

bool NameChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_' || c == '$';
}

// "function name(" in a block of JScript, without reading the language
// further: enough to know the names VBScript may call.
void FunctionNamesOf(std::string_view code, std::vector<std::string> &names)
{
    constexpr std::string_view word = "function";
    for (size_t at = code.find(word); at != std::string_view::npos; at = code.find(word, at + 1)) {
        if (at > 0 && NameChar(code[at - 1]))
            continue;
        size_t p = at + word.size();
        if (p >= code.size() || NameChar(code[p]))
            continue;
        while (p < code.size() && std::isspace(static_cast<unsigned char>(code[p])))
            ++p;
        std::string name;
        while (p < code.size() && NameChar(code[p]))
            name += static_cast<char>(std::tolower(static_cast<unsigned char>(code[p++])));
        if (!name.empty())
            names.push_back(std::move(name));
    }
}

// Whether a <!--METADATA TYPE="TypeLib" ...--> directive stands in `text`:
// each comment opener is looked at, nothing is copied.
bool ImportsTypeLibrary(std::string_view text)
{
    for (size_t at = text.find("<!--"); at != std::string_view::npos; at = text.find("<!--", at + 4)) {
        size_t p = at + 4;
        while (p < text.size() && IsBlank(static_cast<unsigned char>(text[p])))
            ++p;
        if (!StartsWithNoCase(text.substr(p), "metadata"))
            continue;
        const size_t end = std::min(text.find("-->", p), text.size());
        for (size_t q = p; q + 7 <= end; ++q)
            if (StartsWithNoCase(text.substr(q, 7), "typelib"))
                return true;
    }
    return false;
}

// A server script element with a src attribute: an include of that file,
// from the site root when the path starts with a slash, else from the
// element's folder.
void AddScriptSource(SiteFile &f, const PageRegion &r, bool gbk)
{
    constexpr size_t kTagName = 7;  // "<script"
    const std::string src = AttributeValue(ReadTagAttributes(f.bytes, r.begin + kTagName, gbk), "src");
    if (src.empty())
        return;
    IncludeDirective d;
    d.begin = d.pathBegin = d.pathEnd = r.begin;
    d.end = r.end;
    d.line = 1
             + static_cast<int>(
                 std::count(f.bytes.begin(), f.bytes.begin() + static_cast<ptrdiff_t>(r.begin), '\n'));
    d.kind = src[0] == '/' || src[0] == '\\' ? IncludeKind::Virtual : IncludeKind::File;
    d.path = src;
    const auto at =
        std::upper_bound(f.includes.begin(), f.includes.end(), r.begin,
                         [](size_t offset, const IncludeDirective &i) { return offset < i.begin; });
    f.includes.insert(at, std::move(d));
    if (r.kind == RegionKind::ServerOtherScript)
        f.otherLanguageSources.push_back(r.begin);
}

}  // namespace

std::optional<uint32_t> SiteFiles::Open(const std::filesystem::path &path, const std::string &key,
                                        SiteFileError *error)
{
    if (const auto it = ids_.find(key); it != ids_.end())
        return it->second;
    if (const auto it = failures_.find(key); it != failures_.end()) {
        if (error)
            error->message = it->second;
        return std::nullopt;
    }
    const auto given = givenTexts_.find(key);
    FileRead read;
    if (given != givenTexts_.end())
        read.bytes = std::move(given->second.bytes);
    else
        read = ReadFileWithin(path, kMaxFileBytes);
    if (!read.Ok()) {
        const std::string message = FileReadProblem(read, path.string(), kMaxFileBytes);
        failures_.emplace(key, message);
        if (error)
            error->message = message;
        return std::nullopt;
    }
    const auto id = static_cast<uint32_t>(files_.size());
    SiteFile &f = files_.emplace_back();
    f.path = path;
    f.key = key;
    f.bytes = std::move(read.bytes);
    if (given != givenTexts_.end())
        f.encoding = given->second.encoding;
    else
        f.encoding = encoding_ ? *encoding_ : DetectEncoding(f.bytes).encoding;
    const bool gbk = f.encoding == TextEncoding::Gbk;
    // An included .vbs file is code from its first byte, as the server reads it.
    PageStructure structure =
        IsVBScriptFile(path) ? ScanScriptFileStructure(f.bytes, gbk) : ScanPageStructure(f.bytes, gbk);
    f.pieces = vbs::PiecesOfStructure(f.bytes, structure, id, f.encoding);
    f.includes = std::move(structure.includes);
    f.importsTypeLibrary = ImportsTypeLibrary(f.bytes);
    // A JScript file is reached as the src of a server script element.
    if (EqualsNoCase(path.extension().native(), ".js"))
        FunctionNamesOf(f.bytes, f.scriptFunctions);
    bool directiveSeen = false;
    for (const PageRegion &r : structure.regions) {
        const std::string_view code = std::string_view(f.bytes).substr(r.codeBegin, r.codeEnd - r.codeBegin);
        if (r.kind == RegionKind::Directive && !directiveSeen) {
            directiveSeen = true;
            const std::string language = AttributeValue(ReadTagAttributes(code, 0, gbk), "language");
            f.blocksAreVBScript =
                language.empty() || EqualsNoCase(language, "vbscript") || EqualsNoCase(language, "vbs");
        }
        if (r.kind == RegionKind::ServerScript || r.kind == RegionKind::ServerOtherScript)
            AddScriptSource(f, r, gbk);
        if (r.kind == RegionKind::ServerOtherScript)
            FunctionNamesOf(code, f.scriptFunctions);
        else if (r.kind == RegionKind::Html && code.find('<') != std::string_view::npos)
            for (ServerObject &o : ServerObjectsIn(code, gbk))
                f.serverObjects.push_back(std::move(o));
    }
    f.inScriptElement.resize(f.pieces.size());
    size_t region = 0;
    for (size_t p = 0; p < f.pieces.size(); ++p) {
        const size_t at = f.pieces[p].offset;
        while (region < structure.regions.size() && structure.regions[region].end <= at)
            ++region;
        f.inScriptElement[p] = region < structure.regions.size()
                               && structure.regions[region].kind == RegionKind::ServerScript
                               && structure.regions[region].begin <= at;
    }
    ids_.emplace(key, id);
    return id;
}

void SiteFiles::UseText(const std::string &key, std::string bytes, TextEncoding encoding)
{
    givenTexts_.insert_or_assign(key, GivenText{std::move(bytes), encoding});
}

std::span<const vbs::Token> SiteFiles::PieceTokens(uint32_t id, uint32_t piece)
{
    SiteFile &f = files_[id];
    if (f.tokens.empty())
        f.tokens.resize(f.pieces.size());
    // A lexed piece has a token at least: the Newline that closes it.
    if (f.tokens[piece].empty())
        f.tokens[piece] = vbs::LexPiece(f.pieces[piece]);
    return f.tokens[piece];
}

void SiteFiles::ForgetTokens(uint32_t id)
{
    std::vector<std::vector<vbs::Token>>().swap(files_[id].tokens);
}

std::string RealPathKey(const std::filesystem::path &path)
{
    std::error_code ec;
    std::filesystem::path real = std::filesystem::weakly_canonical(path, ec);
    if (ec)
        real = std::filesystem::absolute(path).lexically_normal();
    return real.native();
}

}  // namespace qasp::analysis
