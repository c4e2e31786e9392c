#include "site/page_flattening.h"

#include "site/include_resolution.h"
#include "site/page_structure.h"
#include "text/encoding_detection.h"

#include <fstream>
#include <map>
#include <sstream>
#include <unordered_set>

namespace qasp {
namespace {

namespace fs = std::filesystem;

// One file read and scanned, kept for every further inclusion.
struct ScannedFile {
    std::string bytes;
    TextEncoding encoding = TextEncoding::Gbk;
    std::vector<IncludeDirective> includes;
};

class Flattener {
public:
    Flattener(const SiteRoot &site, std::optional<TextEncoding> encoding, std::uintmax_t maxBytes)
        : resolver_(site),
          encoding_(encoding),
          maxBytes_(maxBytes)
    {
    }

    void Append(const fs::path &file, const std::string &key)
    {
        const ScannedFile &scanned = Scan(file, key);
        chain_.insert(key);
        size_t at = 0;
        const bool gbk = scanned.encoding == TextEncoding::Gbk;
        for (const IncludeDirective &d : scanned.includes) {
            const IncludeTarget &target = resolver_.Resolve(file, d.kind, d.path, gbk);
            std::string problem;
            if (!target.Found())
                problem = target.reason;
            else if (chain_.contains(target.key))
                problem = "包含循环";
            if (!problem.empty()) {
                result_.warnings.push_back(resolver_.Site().Relative(file) + " 第 " + std::to_string(d.line)
                                           + " 行 " + DirectiveText(d.kind, d.path, gbk) + "：" + problem
                                           + "，保留原样");
                continue;
            }
            Write(std::string_view(scanned.bytes).substr(at, d.begin - at));
            Append(target.path, target.key);
            at = d.end;
        }
        Write(std::string_view(scanned.bytes).substr(at));
        chain_.erase(key);
    }

    FlattenResult Take() { return std::move(result_); }

private:
    const ScannedFile &Scan(const fs::path &file, const std::string &key)
    {
        if (const auto it = files_.find(key); it != files_.end())
            return it->second;
        std::ifstream in(file, std::ios::binary);
        if (!in)
            throw FlattenError("无法打开文件 " + resolver_.Site().Relative(file));
        std::ostringstream bytes;
        bytes << in.rdbuf();
        ScannedFile scanned;
        scanned.bytes = std::move(bytes).str();
        scanned.encoding = encoding_ ? *encoding_ : DetectEncoding(scanned.bytes).encoding;
        scanned.includes = ScanPageStructure(scanned.bytes, scanned.encoding == TextEncoding::Gbk).includes;
        return files_.emplace(key, std::move(scanned)).first->second;
    }

    void Write(std::string_view bytes)
    {
        if (result_.bytes.size() + bytes.size() > maxBytes_)
            throw FlattenError("展开后的页面超过了 " + std::to_string(maxBytes_ / 1024 / 1024)
                               + " MB 的上限（包含的文件被重复包含得太多）");
        result_.bytes += bytes;
    }

    IncludeResolver resolver_;
    std::optional<TextEncoding> encoding_;
    std::uintmax_t maxBytes_;
    std::map<std::string, ScannedFile> files_;
    std::unordered_set<std::string> chain_;
    FlattenResult result_;
};

}  // namespace

FlattenResult FlattenPage(const fs::path &page, const SiteRoot &site, std::optional<TextEncoding> encoding,
                          std::uintmax_t maxBytes)
{
    std::error_code ec;
    if (!fs::is_regular_file(page, ec))
        throw FlattenError("无法打开文件 " + page.string() + "：文件不存在");
    fs::path key = fs::weakly_canonical(page, ec);
    if (ec)
        key = fs::absolute(page).lexically_normal();
    Flattener flattener(site, encoding, maxBytes);
    flattener.Append(page, key.native());
    return flattener.Take();
}

}  // namespace qasp
