#include "site/page_flattening.h"

#include "site/include_resolution.h"
#include "site/page_structure.h"
#include "text/encoding_detection.h"
#include "text/file_read.h"

#include <map>
#include <unordered_set>
#include <vector>

namespace qasp {
namespace {

namespace fs = std::filesystem;

// One file read and scanned, kept for every further inclusion.
struct ScannedFile {
    std::string bytes;
    TextEncoding encoding = TextEncoding::Gbk;
    std::vector<IncludeDirective> includes;
};

// A file being written out: how far its bytes and directives have gone.
struct OpenFile {
    fs::path file;
    std::string key;
    const ScannedFile *scanned = nullptr;
    size_t next = 0;  // its next directive
    size_t at = 0;    // its bytes [0, at) are written
};

class Flattener {
public:
    Flattener(const SiteRoot &site, std::optional<TextEncoding> encoding, std::uintmax_t maxBytes)
        : resolver_(site),
          encoding_(encoding),
          maxBytes_(maxBytes)
    {
    }

    // The files are walked with a stack of their own: an include chain
    // thousands deep costs no call stack.
    void Append(const fs::path &page, const std::string &key)
    {
        Open(page, key);
        while (!open_.empty()) {
            OpenFile &f = open_.back();
            if (f.next == f.scanned->includes.size()) {
                Write(std::string_view(f.scanned->bytes).substr(f.at));
                chain_.erase(f.key);
                open_.pop_back();
                continue;
            }
            const IncludeDirective &d = f.scanned->includes[f.next++];
            const bool gbk = f.scanned->encoding == TextEncoding::Gbk;
            const IncludeTarget &target = resolver_.Resolve(f.file, d.kind, d.path, gbk);
            std::string problem;
            if (!target.Found())
                problem = target.reason;
            else if (chain_.contains(target.key))
                problem = "包含循环";
            if (!problem.empty()) {
                result_.warnings.push_back(resolver_.Site().Relative(f.file) + " 第 " + std::to_string(d.line)
                                           + " 行 " + DirectiveText(d.kind, d.path, gbk) + "：" + problem
                                           + "，保留原样");
                continue;
            }
            Write(std::string_view(f.scanned->bytes).substr(f.at, d.begin - f.at));
            f.at = d.end;
            Open(target.path, target.key);  // f is not used after this: the stack may move
        }
    }

    FlattenResult Take() { return std::move(result_); }

private:
    const ScannedFile &Scan(const fs::path &file, const std::string &key)
    {
        if (const auto it = files_.find(key); it != files_.end())
            return it->second;
        // No file can be larger than the whole page may grow.
        FileRead read = ReadFileWithin(file, maxBytes_);
        if (!read.Ok())
            throw FlattenError(FileReadProblem(read, resolver_.Site().Relative(file), maxBytes_));
        ScannedFile scanned;
        scanned.bytes = std::move(read.bytes);
        scanned.encoding = encoding_ ? *encoding_ : DetectEncoding(scanned.bytes).encoding;
        scanned.includes = ScanPageStructure(scanned.bytes, scanned.encoding == TextEncoding::Gbk).includes;
        result_.files.push_back(file);
        return files_.emplace(key, std::move(scanned)).first->second;
    }

    void Open(const fs::path &file, const std::string &key)
    {
        const ScannedFile &scanned = Scan(file, key);
        chain_.insert(key);
        open_.push_back({file, key, &scanned});
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
    std::unordered_set<std::string> chain_;  // keys of open_
    std::vector<OpenFile> open_;
    FlattenResult result_;
};

}  // namespace

FlattenResult FlattenPage(const fs::path &page, const SiteRoot &site, std::optional<TextEncoding> encoding,
                          std::uintmax_t maxBytes)
{
    std::error_code ec;
    if (!fs::exists(page, ec))
        throw FlattenError("无法打开文件 " + page.string() + "：文件不存在");
    fs::path key = fs::weakly_canonical(page, ec);
    if (ec)
        key = fs::absolute(page).lexically_normal();
    Flattener flattener(site, encoding, maxBytes);
    flattener.Append(page, key.native());
    return flattener.Take();
}

}  // namespace qasp
