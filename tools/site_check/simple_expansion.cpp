#include "simple_expansion.h"

#include "text/gbk_codec.h"

#include <fstream>
#include <sstream>
#include <system_error>

namespace qasp::sitecheck {
namespace {

namespace fs = std::filesystem;
constexpr std::size_t npos = std::string_view::npos;
constexpr int kMaxDepth = 100;

bool Blank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool SameNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    return true;
}

bool WordAt(std::string_view s, std::size_t at, std::string_view word)
{
    return at + word.size() <= s.size() && SameNoCase(s.substr(at, word.size()), word);
}

std::size_t SkipBlanks(std::string_view s, std::size_t i)
{
    while (i < s.size() && Blank(s[i]))
        ++i;
    return i;
}

// After the "%>" that closes the block whose code starts at `i`: a string
// literal or a comment may hide a '"', never the end of the block.
std::size_t AfterServerBlock(std::string_view s, std::size_t i)
{
    while (i < s.size()) {
        if (s.substr(i, 2) == "%>")
            return i + 2;
        if (s[i] == '"') {
            for (++i; i < s.size() && s[i] != '"' && s[i] != '\n'; ++i) {}
            if (i < s.size() && s[i] == '"')
                ++i;
            continue;
        }
        if (s[i] == '\'') {
            for (; i < s.size() && s[i] != '\n' && s.substr(i, 2) != "%>"; ++i) {}
            continue;
        }
        ++i;
    }
    return s.size();
}

std::optional<FoundDirective> DirectiveAt(std::string_view s, std::size_t at)
{
    std::size_t i = SkipBlanks(s, at + 4);
    if (!WordAt(s, i, "#include"))
        return std::nullopt;
    i = SkipBlanks(s, i + 8);
    FoundDirective d;
    d.begin = at;
    if (WordAt(s, i, "file")) {
        i += 4;
    } else if (WordAt(s, i, "virtual")) {
        d.isVirtual = true;
        i += 7;
    } else {
        return std::nullopt;
    }
    i = SkipBlanks(s, i);
    if (i >= s.size() || s[i] != '=')
        return std::nullopt;
    i = SkipBlanks(s, i + 1);
    if (i < s.size() && (s[i] == '"' || s[i] == '\'')) {
        const std::size_t close = s.find(s[i], i + 1);
        if (close == npos)
            return std::nullopt;
        d.path = s.substr(i + 1, close - i - 1);
        i = close + 1;
    } else {
        const std::size_t start = i;
        while (i < s.size() && !Blank(s[i]) && s[i] != '>' && s.substr(i, 3) != "-->")
            ++i;
        d.path = s.substr(start, i - start);
    }
    i = SkipBlanks(s, i);
    if (d.path.empty() || s.substr(i, 3) != "-->")
        return std::nullopt;
    d.end = i + 3;
    return d;
}

// "<script ...runat=server...>" at `at`: where its code ends.
std::optional<std::size_t> ServerScriptEnd(std::string_view s, std::size_t at)
{
    if (!WordAt(s, at, "<script") || at + 7 >= s.size() || !(Blank(s[at + 7]) || s[at + 7] == '>'))
        return std::nullopt;
    const std::size_t tagEnd = s.find('>', at);
    if (tagEnd == npos)
        return std::nullopt;
    std::string tag(s.substr(at, tagEnd - at));
    for (char &c : tag)
        c = Lower(c);
    if (tag.find("runat") == npos || tag.find("server") == npos)
        return std::nullopt;
    for (std::size_t i = tagEnd; i < s.size(); ++i)
        if (WordAt(s, i, "</script"))
            return i;
    return s.size();
}

std::vector<std::string> SplitPath(std::string_view path)
{
    std::vector<std::string> parts;
    std::string part;
    for (char c : path) {
        if (c == '/' || c == '\\') {
            parts.push_back(std::move(part));
            part.clear();
        } else {
            part += c;
        }
    }
    parts.push_back(std::move(part));
    return parts;
}

std::string ReadBytes(const fs::path &file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw ExpansionError("cannot read " + file.string());
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return std::move(bytes).str();
}

}  // namespace

std::vector<FoundDirective> FindDirectives(std::string_view page)
{
    std::vector<FoundDirective> found;
    std::size_t i = 0;
    while (i < page.size()) {
        if (page[i] != '<') {
            ++i;
            continue;
        }
        if (page.substr(i, 2) == "<%") {
            i = AfterServerBlock(page, i + 2);
        } else if (page.substr(i, 4) == "<!--") {
            if (const auto d = DirectiveAt(page, i)) {
                found.push_back(*d);
                i = d->end;
            } else {
                i += 4;
            }
        } else if (const auto end = ServerScriptEnd(page, i)) {
            i = *end;
        } else {
            ++i;
        }
    }
    return found;
}

fs::path NearestSiteRoot(const fs::path &page)
{
    std::error_code ec;
    const fs::path start = fs::weakly_canonical(fs::absolute(page), ec).parent_path();
    fs::path config, pages = start;
    bool run = true;
    for (fs::path folder = start;; folder = folder.parent_path()) {
        bool asa = false, webConfig = false, asp = false;
        for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
            const std::string name = it->path().filename().string();
            asa = asa || SameNoCase(name, "global.asa");
            webConfig = webConfig || SameNoCase(name, "web.config");
            asp = asp || (name.size() > 4 && SameNoCase(name.substr(name.size() - 4), ".asp"));
        }
        if (asa)
            return folder;
        if (webConfig)
            config = folder;
        run = run && asp;
        if (run)
            pages = folder;
        if (folder == folder.root_path() || folder.parent_path() == folder)
            return config.empty() ? pages : config;
    }
}

SimpleExpander::SimpleExpander(const fs::path &root, std::uintmax_t maxBytes)
    : root_(fs::weakly_canonical(fs::absolute(root))),
      maxBytes_(maxBytes)
{
}

const std::vector<SimpleExpander::Entry> &SimpleExpander::Listing(const fs::path &folder)
{
    const auto [it, added] = listings_.try_emplace(folder.string());
    if (added) {
        std::error_code ec;
        for (fs::directory_iterator d(folder, ec), end; !ec && d != end; d.increment(ec)) {
            std::error_code kindError;
            it->second.push_back(
                {d->path().filename().string(), d->is_directory(kindError), d->is_regular_file(kindError)});
        }
    }
    return it->second;
}

// The name on disk for `part`: spelled alike first, then in any letter
// case; a GBK page's name is also tried as the UTF-8 name it stands for.
std::optional<std::string> SimpleExpander::Lookup(const fs::path &folder, const std::string &part,
                                                  bool wantFolder)
{
    std::vector<std::string> spellings{part};
    for (char c : part)
        if (static_cast<unsigned char>(c) >= 0x80) {
            spellings.push_back(GbkToUtf8(part));
            break;
        }
    const std::vector<Entry> &entries = Listing(folder);
    for (const std::string &name : spellings) {
        for (const Entry &e : entries)
            if (e.name == name && (wantFolder ? e.folder : e.file))
                return e.name;
        for (const Entry &e : entries)
            if (SameNoCase(e.name, name) && (wantFolder ? e.folder : e.file))
                return e.name;
    }
    return std::nullopt;
}

std::optional<fs::path> SimpleExpander::Resolve(const fs::path &includingFile, bool isVirtual,
                                                std::string_view path)
{
    std::vector<std::string> at;
    if (!isVirtual) {
        const fs::path folder = includingFile.parent_path().lexically_relative(root_);
        if (folder.empty() || *folder.begin() == "..")
            return std::nullopt;
        for (const fs::path &p : folder)
            if (p != ".")
                at.push_back(p.string());
    }
    for (const std::string &part : SplitPath(path)) {
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            if (at.empty())
                return std::nullopt;  // above the root
            at.pop_back();
            continue;
        }
        at.push_back(part);
    }
    if (at.empty())
        return std::nullopt;
    fs::path found = root_;
    for (std::size_t i = 0; i < at.size(); ++i) {
        const std::optional<std::string> name = Lookup(found, at[i], i + 1 < at.size());
        if (!name)
            return std::nullopt;
        found /= *name;
    }
    return found;
}

const std::pair<std::string, std::vector<FoundDirective>> &SimpleExpander::Read(const fs::path &file)
{
    const auto it = files_.find(file.string());
    if (it != files_.end())
        return it->second;
    std::string bytes = ReadBytes(file);
    std::vector<FoundDirective> directives = FindDirectives(bytes);
    return files_.emplace(file.string(), std::make_pair(std::move(bytes), std::move(directives)))
        .first->second;
}

void SimpleExpander::Append(const fs::path &file, int depth, std::string &out)
{
    if (depth > kMaxDepth)
        throw ExpansionError("includes nested deeper than " + std::to_string(kMaxDepth));
    const auto &[bytes, directives] = Read(file);
    chain_.insert(file.string());
    std::size_t at = 0;
    for (const FoundDirective &d : directives) {
        const std::optional<fs::path> target = Resolve(file, d.isVirtual, d.path);
        if (!target || chain_.contains(target->string()))
            continue;
        out.append(bytes, at, d.begin - at);
        Append(*target, depth + 1, out);
        at = d.end;
    }
    out.append(bytes, at, std::string::npos);
    if (out.size() > maxBytes_)
        throw ExpansionError("the expansion grew past " + std::to_string(maxBytes_) + " bytes");
    chain_.erase(file.string());
}

std::string SimpleExpander::Expand(const fs::path &page)
{
    std::error_code ec;
    fs::path file = fs::weakly_canonical(fs::absolute(page), ec);
    if (ec)
        file = fs::absolute(page).lexically_normal();
    chain_.clear();
    std::string out;
    Append(file, 0, out);
    return out;
}

}  // namespace qasp::sitecheck
