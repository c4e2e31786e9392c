#include "project/asp_loader.h"

#include "editor/declaration_scan.h"
#include "editor/key_type.h"
#include "editor/keyword_store.h"
#include "project/include_path.h"
#include "project/layout_check.h"
#include "text/byte_string.h"
#include "text/function_name.h"
#include "text/gbk_codec.h"
#include "text/line_split.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <unordered_map>
#include <unordered_set>

namespace qasp {
namespace {

namespace fs = std::filesystem;

const std::string kDocumentInfoHead = Utf8ToGbk("链接ASP文件:");
const std::string kDocumentInfoMiddle = Utf8ToGbk("个;函数:");
const std::string kDocumentInfoTail = Utf8ToGbk("个");
const std::string kFunctionInfo = Utf8ToGbk("启始行数:");

constexpr std::uintmax_t kMiB = 1024 * 1024;

// Where a line stands, for messages (UTF-8).
struct IncludeSite {
    std::string fileName;
    int line = 0;
    std::string text;
};

std::string Where(const IncludeSite *site)
{
    if (!site)
        return {};
    return "（" + site->fileName + " 第 " + std::to_string(site->line) + " 行：" + site->text + "）";
}

std::string SizeText(std::uintmax_t bytes)
{
    return bytes % kMiB == 0 ? std::to_string(bytes / kMiB) + " MB" : std::to_string(bytes) + " 字节";
}

std::string TooManyNodes(std::size_t limit, const IncludeSite *site)
{
    return "工程过大：结点数超过了 " + std::to_string(limit) + " 个的上限" + Where(site) + "，不能打开";
}

std::string ReadWholeFile(const fs::path &path, const std::string &shownName, const IncludeSite *site)
{
    std::error_code error;
    const auto size = fs::file_size(path, error);
    if (!error && size > kMaxDocumentBytes)
        throw LoadError("文件 " + shownName + Where(site) + " 有 " + std::to_string(size) + " 字节，超过了 "
                        + std::to_string(kMaxDocumentBytes / kMiB) + " MB 的上限，不能作为 ASP 文档打开");
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw LoadError("无法打开文件 " + shownName + Where(site) + "：" + std::strerror(errno));
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad())
        throw LoadError("无法读取文件 " + shownName + Where(site));
    return std::move(bytes).str();
}

// The text between the first and the second double quote, empty without two.
std::string QuotedPath(const std::string &line)
{
    const size_t open = line.find('"');
    const size_t close = open == std::string::npos ? open : line.find('"', open + 1);
    return close == std::string::npos ? std::string() : line.substr(open + 1, close - open - 1);
}

// A file on disk and what identifies it however an include line spells it:
// its canonical path.
struct FoundFile {
    fs::path path;
    std::string key;
};

FoundFile Identify(const fs::path &path)
{
    std::error_code ec;
    fs::path canonical = fs::weakly_canonical(path, ec);
    if (ec)
        canonical = fs::absolute(path, ec).lexically_normal();
    return {path, canonical.native()};
}

// A file whose lines are being read: its node, its bytes and how far they
// are read, and what its lines have given so far.
struct OpenFile {
    OpenFile(TreeNode *n, FoundFile f, std::string shown, std::string b)
        : node(n),
          file(std::move(f)),
          shownName(std::move(shown)),
          bytes(std::move(b)),
          lines(bytes)
    {
    }
    OpenFile(const OpenFile &) = delete;  // `lines` reads `bytes` in place
    OpenFile &operator=(const OpenFile &) = delete;

    std::string Info() const
    {
        return kDocumentInfoHead + std::to_string(includes) + kDocumentInfoMiddle + std::to_string(functions)
               + kDocumentInfoTail;
    }

    TreeNode *node;
    FoundFile file;
    std::string shownName;  // UTF-8: the root's path, or the include line's path
    std::string bytes;
    FileLineReader lines;
    int lineNumber = 0;
    bool ended = false;  // its "%>" is read
    std::string pageText;
    int includes = 0;
    int functions = 0;
    bool optionExplicit = false;
};

// One load: the files being read, innermost last, and the files read.
class Loader {
public:
    Loader(ProjectTree &tree, KeywordStore &store, LoadContext &context)
        : tree_(tree),
          store_(store),
          context_(context)
    {
    }

    bool Load(TreeNode *parent, const fs::path &file);

private:
    void Open(TreeNode *parent, FoundFile file, std::string displayText, std::string shownName,
              const IncludeSite *site);
    void ReadLine(OpenFile &f, const std::string &rawLine);
    void FollowInclude(OpenFile &f, const std::string &line);
    void ReadFunction(OpenFile &f, const std::string &line);
    void Finish();
    void CountNode(const OpenFile &f, const std::string &line);
    const std::optional<FoundFile> &Find(const std::string &includePath);
    std::string ChainText(const std::string &closing) const;

    ProjectTree &tree_;
    KeywordStore &store_;
    LoadContext &context_;
    std::vector<std::unique_ptr<OpenFile>> open_;
    std::unordered_set<std::string> onChain_;                          // keys of open_
    std::unordered_map<std::string, const TreeNode *> loaded_;         // key -> first node
    std::unordered_map<std::string, std::optional<FoundFile>> found_;  // include path -> file
    std::uintmax_t bytes_ = 0;
    std::size_t nodes_ = 0;
    bool optionExplicit_ = false;
};

bool Loader::Load(TreeNode *parent, const fs::path &file)
{
    std::error_code ec;
    if (!fs::is_regular_file(file, ec))
        throw LoadError("无法打开文件 " + file.string() + "：文件不存在");
    KeywordStore::Batch batch(store_);
    try {
        Open(parent, Identify(file), RootDisplayName(file), file.string(), nullptr);
        if (!parent)
            store_.ClearProjectNames();
        std::string line;
        while (!open_.empty()) {
            OpenFile &f = *open_.back();
            if (!f.ended && f.lines.Next(line))
                ReadLine(f, line);
            else
                Finish();
        }
    } catch (...) {
        // A load that fails leaves every document with what was read.
        for (const auto &f : open_)
            if (!f->node->Record())
                tree_.AttachRecord(f->node, {f->pageText, f->Info()});
        throw;
    }
    batch.Commit();
    return optionExplicit_;
}

void Loader::Open(TreeNode *parent, FoundFile file, std::string displayText, std::string shownName,
                  const IncludeSite *site)
{
    std::string bytes = ReadWholeFile(file.path, shownName, site);  // the file is closed again
    bytes_ += bytes.size();
    if (bytes_ > context_.limits.projectBytes)
        throw LoadError("工程过大：读入文件 " + shownName + Where(site) + " 后，各文件合计 "
                        + std::to_string(bytes_) + " 字节，超过了 " + SizeText(context_.limits.projectBytes)
                        + " 的上限，不能打开");
    if (++nodes_ > context_.limits.nodes)
        throw LoadError(TooManyNodes(context_.limits.nodes, site));
    TreeNode *node =
        parent ? tree_.AddChild(parent, std::move(displayText)) : tree_.AddTopLevel(std::move(displayText));
    onChain_.insert(file.key);
    open_.push_back(
        std::make_unique<OpenFile>(node, std::move(file), std::move(shownName), std::move(bytes)));
}

void Loader::ReadLine(OpenFile &f, const std::string &rawLine)
{
    const std::string line = TrimRight(rawLine);
    ++f.lineNumber;
    const std::string trimmed = Trim(line);
    const std::string lower = LowerAscii(trimmed);
    if (lower == "<%option explicit%>")
        f.optionExplicit = true;

    if (StartsWithNoCase(line, "<!--#include ")) {
        ++f.includes;
        FollowInclude(f, line);
    } else if (lower.rfind("function ", 0) == 0) {
        ReadFunction(f, line);
    } else if (trimmed == "<%") {
        f.pageText.clear();
    } else if (trimmed == "%>") {
        f.ended = true;
    } else if (!trimmed.empty()) {
        if (!f.pageText.empty())
            f.pageText += "\r\n";
        f.pageText += line;
    }
}

// One include line: the named file is opened under f's node, unless it is
// already open further up the chain (a cycle, skipped) or was read before
// (a repeat, sharing the first node's record).
void Loader::FollowInclude(OpenFile &f, const std::string &line)
{
    const std::string path = QuotedPath(line);
    if (path.empty()) {
        context_.warnings.push_back(f.shownName + " 第 " + std::to_string(f.lineNumber)
                                    + " 行的包含行没有引号中的文件名，已跳过：" + GbkToUtf8(line));
        return;
    }
    const IncludeSite site{f.shownName, f.lineNumber, GbkToUtf8(line)};
    const std::optional<FoundFile> &found = Find(path);
    if (!found)
        throw LoadError("无法打开文件 " + GbkToUtf8(path) + Where(&site) + "：文件不存在");
    if (onChain_.contains(found->key)) {
        context_.warnings.push_back("包含循环，已跳过：" + ChainText(path) + Where(&site));
        return;
    }
    if (const auto first = loaded_.find(found->key); first != loaded_.end()) {
        CountNode(f, line);
        tree_.ShareRecord(tree_.AddChild(f.node, DocumentDisplayName(path)), first->second);
        return;
    }
    Open(f.node, *found, DocumentDisplayName(path), GbkToUtf8(path), &site);
}

void Loader::ReadFunction(OpenFile &f, const std::string &line)
{
    CountNode(f, line);
    ++f.functions;
    const int firstLine = f.lineNumber;
    const std::string prototype = ExtractFunctionName(line, false);
    store_.ReplaceKeyword(KeywordTable::Public, ExtractFunctionName(prototype, true), prototype,
                          kProjectFunction);
    TreeNode *fn = tree_.AddChild(f.node, prototype);
    tree_.SetImages(fn, kFunctionImage);
    std::string text = line;
    std::string current = prototype;
    std::string raw;
    while (LowerAscii(Trim(current)) != "end function" && f.lines.Next(raw)) {
        current = TrimRight(raw);
        ++f.lineNumber;
        text += "\r\n" + current;
    }
    tree_.AttachRecord(fn, {std::move(text), kFunctionInfo + std::to_string(firstLine)});
}

// The innermost open file is read to its end: its document gets its record.
void Loader::Finish()
{
    OpenFile &f = *open_.back();
    TreeNode *node = f.node;
    tree_.AttachRecord(node);
    tree_.SortChildren(node);
    TTreeRec &record = *node->Record();
    record.Text = std::move(f.pageText);
    ScanDeclarations(store_, KeywordTable::Public, record.Text);
    record.Info = f.Info();
    record.SourceFile = f.file.path;
    record.Loaded = FingerprintOf(f.file.path, f.bytes);
    // A save writes the header lines only above the root, as the root's
    // Option Explicit line asks.
    const bool header = !node->Parent() && f.optionExplicit;
    record.LayoutLoses = !LayoutGivesBack(f.bytes, *node, header);
    if (open_.size() == 1)
        optionExplicit_ = f.optionExplicit;
    loaded_.emplace(f.file.key, node);
    onChain_.erase(f.file.key);
    open_.pop_back();
}

// One more node, made by `line` of f; the site is named only when the
// limit is crossed.
void Loader::CountNode(const OpenFile &f, const std::string &line)
{
    if (++nodes_ <= context_.limits.nodes)
        return;
    const IncludeSite site{f.shownName, f.lineNumber, GbkToUtf8(line)};
    throw LoadError(TooManyNodes(context_.limits.nodes, &site));
}

// Every include path is resolved once a load: the base directory is the
// same for all of them.
const std::optional<FoundFile> &Loader::Find(const std::string &includePath)
{
    const auto [it, fresh] = found_.try_emplace(includePath);
    if (fresh)
        if (const auto path = ResolveIncludePath(context_.baseDir, includePath))
            it->second = Identify(*path);
    return it->second;
}

// The open files, outermost first, then `closing`; a deep chain shows its
// first and last files only.
std::string Loader::ChainText(const std::string &closing) const
{
    constexpr size_t kHead = 2, kTail = 8;
    std::string out;
    for (size_t i = 0; i < open_.size(); ++i) {
        if (i == kHead && open_.size() > kHead + kTail + 1) {
            out += "… -> ";
            i = open_.size() - kTail - 1;
            continue;
        }
        out += open_[i]->shownName + " -> ";
    }
    return out + GbkToUtf8(closing);
}

}  // namespace

bool LoadAspDocument(ProjectTree &tree, TreeNode *parent, const fs::path &file, KeywordStore &store,
                     LoadContext &context)
{
    return Loader(tree, store, context).Load(parent, file);
}

}  // namespace qasp
