#include "analysis/site_files.h"

#include "text/encoding_detection.h"
#include "text/file_read.h"

namespace qasp::analysis {

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
