#include "site/include_resolution.h"

#include "site/file_name_bytes.h"
#include "site/include_path_parts.h"
#include "text/gbk_codec.h"

namespace qasp {
namespace fs = std::filesystem;

namespace {

using Outcome = IncludeTarget::Outcome;

IncludeTarget Refused(Outcome outcome, std::string reason, fs::path path = {})
{
    static constexpr const char *kWords[] = {"found", "missing", "outside-site-root", "is-a-folder",
                                             "not-a-file"};
    IncludeTarget target;
    target.outcome = outcome;
    target.path = std::move(path);
    target.reason = std::move(reason);
    target.reasonWord = kWords[static_cast<int>(outcome)];
    return target;
}

const std::string kMissing = "文件不存在";
const std::string kAboveRoot = "路径超出了站点根目录";

// "C:" as a path's first part: a path on a drive, not in the site.
bool IsDrive(const std::string &part)
{
    return part.size() == 2 && part[1] == ':'
           && ((part[0] >= 'A' && part[0] <= 'Z') || (part[0] >= 'a' && part[0] <= 'z'));
}

// The names a part of the page's path may have on disk, most likely first:
// converted to UTF-8, then as its own bytes (a GBK page on a site copied
// with GBK-named files), or for a UTF-8 page its GBK bytes.
std::vector<std::string> Spellings(const std::string &part, bool gbk)
{
    std::vector<std::string> names{gbk ? GbkToUtf8(part) : part};
    bool lossy = false;
    std::string other = gbk ? part : Utf8ToGbk(part, &lossy);
    if (!lossy && other != names[0])
        names.push_back(std::move(other));
    return names;
}

}  // namespace

IncludeResolver::IncludeResolver(SiteRoot site) : site_(std::move(site)) {}

const IncludeTarget &IncludeResolver::Resolve(const fs::path &includingFile, IncludeKind kind,
                                              std::string_view pathBytes, bool gbk)
{
    const std::optional<Parts> *folder = nullptr;
    std::string key(kind == IncludeKind::File ? "f" : "v");
    key += gbk ? 'g' : 'u';
    if (kind == IncludeKind::File) {
        folder = &FolderParts(includingFile);
        if (*folder)
            for (const std::string &part : **folder)
                key.append(part).push_back('/');
        else
            key += '!';
    }
    key.push_back('\0');
    key.append(pathBytes);
    const auto [it, fresh] = answers_.try_emplace(std::move(key));
    if (!fresh)
        return it->second;
    IncludeTarget &answer = it->second;

    if (folder && !*folder) {
        answer = Refused(Outcome::OutsideSiteRoot, "包含它的文件不在站点根目录之内");
        return answer;
    }
    const Parts pathParts = IncludePathParts(pathBytes, gbk);
    if (!pathParts.empty() && IsDrive(pathParts.front())) {
        answer = Refused(Outcome::OutsideSiteRoot, kAboveRoot);
        return answer;
    }
    // ".." is taken off the path as written, as the server does, before
    // anything is looked up: it may climb back out of a folder that does not
    // exist, never above the root.
    std::vector<Parts> spellings;
    if (folder)
        for (const std::string &name : **folder)
            spellings.push_back({name});
    for (const std::string &part : pathParts) {
        if (part != "..") {
            spellings.push_back(Spellings(part, gbk));
        } else if (spellings.empty()) {
            answer = Refused(Outcome::OutsideSiteRoot, kAboveRoot);
            return answer;
        } else {
            spellings.pop_back();
        }
    }
    answer = Walk(spellings);
    return answer;
}

const std::optional<IncludeResolver::Parts> &IncludeResolver::FolderParts(const fs::path &includingFile)
{
    const fs::path folder = includingFile.parent_path();
    const auto [it, fresh] = folders_.try_emplace(folder.native());
    if (fresh) {
        fs::path relative;
        if (site_.PartsBelow(folder, &relative)) {
            Parts parts;
            for (const fs::path &part : relative)
                parts.push_back(part.native());
            it->second = std::move(parts);
        }
    }
    return it->second;
}

// Each part found by the first of its spellings that names an entry.
IncludeTarget IncludeResolver::Walk(const std::vector<Parts> &spellings)
{
    fs::path here = site_.Path();
    for (size_t i = 0; i < spellings.size(); ++i) {
        std::optional<fs::path> next;
        for (const std::string &name : spellings[i])
            if ((next = lookup_.Find(here, {name})))
                break;
        if (!next) {
            for (; i < spellings.size(); ++i)
                here /= spellings[i].front();
            return Refused(Outcome::Missing, kMissing, here);
        }
        here = std::move(*next);
    }
    return Classify(here);
}

IncludeTarget IncludeResolver::Classify(const fs::path &found) const
{
    std::error_code ec;
    const fs::path canonical = fs::canonical(found, ec);
    if (ec)  // a symbolic link to nothing
        return Refused(Outcome::Missing, kMissing, found);
    if (!site_.ContainsResolved(canonical))
        return Refused(Outcome::OutsideSiteRoot, "符号链接指向站点根目录之外", found);
    const fs::file_status status = fs::status(canonical, ec);
    if (fs::is_directory(status))
        return Refused(Outcome::IsFolder, "是文件夹，不是文件", found);
    if (!fs::is_regular_file(status))
        return Refused(Outcome::NotAFile, "不是普通文件", found);
    IncludeTarget target;
    target.outcome = Outcome::Found;
    target.path = found;
    target.key = canonical.native();
    target.reasonWord = "found";
    return target;
}

IncludeTarget ResolveInclude(const SiteRoot &site, const fs::path &includingFile, IncludeKind kind,
                             std::string_view pathBytes, bool gbk)
{
    return IncludeResolver(site).Resolve(includingFile, kind, pathBytes, gbk);
}

std::string DirectiveText(IncludeKind kind, std::string_view pathBytes, bool gbk)
{
    const std::string path(pathBytes);
    return std::string("#include ") + (kind == IncludeKind::File ? "file" : "virtual") + "=\""
           + (gbk || !IsUtf8(path) ? GbkToUtf8(path) : path) + "\"";
}

}  // namespace qasp
