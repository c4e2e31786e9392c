#include "analysis/site_files.h"

#include "text/encoding_detection.h"
#include "text/byte_string.h"
#include "text/file_read.h"

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

// Where `word` (lower-case) first stands in `text` from `from`, in any
// letter case; npos when nowhere. Reads the file once, copies nothing.
size_t FindNoCase(std::string_view text, std::string_view word, size_t from)
{
    for (size_t at = from; at + word.size() <= text.size(); ++at) {
        at = text.find_first_of(std::string{word[0], static_cast<char>(std::toupper(word[0]))}, at);
        if (at == std::string_view::npos || at + word.size() > text.size())
            return std::string_view::npos;
        if (StartsWithNoCase(text.substr(at), word))
            return at;
    }
    return std::string_view::npos;
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
    FileRead read = ReadFileWithin(path, kMaxFileBytes);
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
    f.encoding = encoding_ ? *encoding_ : DetectEncoding(f.bytes).encoding;
    const bool gbk = f.encoding == TextEncoding::Gbk;
    // An included .vbs file is code from its first byte, as the server reads it.
    PageStructure structure =
        IsVBScriptFile(path) ? ScanScriptFileStructure(f.bytes, gbk) : ScanPageStructure(f.bytes, gbk);
    f.pieces = vbs::PiecesOfStructure(f.bytes, structure, id, f.encoding);
    f.includes = std::move(structure.includes);
    const size_t metadata = FindNoCase(f.bytes, "metadata", 0);
    f.importsTypeLibrary =
        metadata != std::string::npos && FindNoCase(f.bytes, "typelib", metadata) != std::string::npos;
    for (const PageRegion &r : structure.regions) {
        const std::string_view code = std::string_view(f.bytes).substr(r.codeBegin, r.codeEnd - r.codeBegin);
        if (r.kind == RegionKind::ServerOtherScript)
            FunctionNamesOf(code, f.scriptFunctions);
        else if (r.kind == RegionKind::Html && code.find('<') != std::string_view::npos)
            for (ServerObject &o : ServerObjectsIn(code, gbk))
                f.serverObjects.push_back(std::move(o));
    }
    ids_.emplace(key, id);
    return id;
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
