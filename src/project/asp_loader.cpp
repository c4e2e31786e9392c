#include "project/asp_loader.h"

#include "editor/declaration_scan.h"
#include "editor/key_type.h"
#include "editor/keyword_store.h"
#include "project/include_path.h"
#include "project/layout_check.h"
#include "project/node_script.h"
#include "site/file_name_bytes.h"
#include "site/include_resolution.h"
#include "site/page_structure.h"
#include "site/site_root.h"
#include "text/byte_string.h"
#include "text/encoding_detection.h"
#include "text/file_read.h"
#include "text/function_name.h"
#include "text/gbk_codec.h"
#include "text/line_breaks.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <unordered_map>
#include <unordered_set>

namespace qasp {
namespace {

namespace fs = std::filesystem;

// The status texts in code page 936, converted on the first load: a command
// that loads nothing never builds the code tables.
struct InfoTexts {
    std::string documentHead = Utf8ToGbk("链接ASP文件:");
    std::string documentMiddle = Utf8ToGbk("个;函数:");
    std::string documentTail = Utf8ToGbk("个");
    std::string function = Utf8ToGbk("启始行数:");
};

const InfoTexts &Texts()
{
    static const InfoTexts texts;
    return texts;
}

// Where a directive stands, for messages (UTF-8).
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

std::string TooManyNodes(std::size_t limit, const IncludeSite *site)
{
    return "工程过大：结点数超过了 " + std::to_string(limit) + " 个的上限" + Where(site) + "，不能打开";
}

std::string ReadWholeFile(const fs::path &path, const std::string &shownName, const IncludeSite *site,
                          std::uintmax_t limit)
{
    FileRead read = ReadFileWithin(path, limit);
    if (read.Ok())
        return std::move(read.bytes);
    std::string message = FileReadProblem(read, shownName + Where(site), limit);
    if (read.outcome == FileRead::Outcome::TooLarge || read.outcome == FileRead::Outcome::NotAFile)
        message += "，不能作为 ASP 文档打开";
    throw LoadError(message);
}

// A NUL byte is never text in either encoding: an image or an archive
// renamed, which the server would send as garbage.
bool LooksBinary(std::string_view bytes)
{
    return bytes.find('\0') != std::string_view::npos;
}

// The page text of a name or path for the tree and the store, which hold
// code page 936.
std::string AsGbk(std::string_view text, TextEncoding encoding)
{
    return encoding == TextEncoding::Utf8 ? Utf8ToGbk(text) : std::string(text);
}

std::string AsUtf8(std::string_view text, TextEncoding encoding)
{
    return encoding == TextEncoding::Utf8 ? std::string(text) : GbkToUtf8(text);
}

// "<%option explicit%>" on a line of its own, as the layout writes it.
bool HasOptionExplicitLine(std::string_view bytes)
{
    for (size_t at = 0; at < bytes.size();) {
        size_t end = bytes.find('\n', at);
        if (end == std::string_view::npos)
            end = bytes.size();
        if (LowerAscii(Trim(bytes.substr(at, end - at))) == "<%option explicit%>")
            return true;
        at = end + 1;
    }
    return false;
}

// One thing of a file that becomes a node: a procedure or a directive, in
// the order they stand.
struct Item {
    size_t begin;
    const Procedure *procedure = nullptr;
    const IncludeDirective *include = nullptr;
};

// A file whose items are being read: its node, its bytes, what of them has
// gone into the document's text, and what its items have given so far.
struct OpenFile {
    TreeNode *node = nullptr;
    fs::path path;
    std::string key;
    std::string shownName;               // UTF-8: relative to the site root
    std::shared_ptr<Document> document;  // the file's text, lines ended by CR LF
    TextEncoding encoding = TextEncoding::Gbk;
    PageStructure page;
    std::vector<Item> items;
    size_t nextItem = 0;
    int includes = 0;
    int functions = 0;

    std::string Info() const
    {
        const InfoTexts &t = Texts();
        return t.documentHead + std::to_string(includes) + t.documentMiddle + std::to_string(functions)
               + t.documentTail;
    }
};

class Loader {
public:
    Loader(ProjectTree &tree, KeywordStore &store, LoadContext &context, SiteRoot site)
        : tree_(tree),
          store_(store),
          context_(context),
          resolver_(std::move(site))
    {
    }

    bool Load(TreeNode *parent, const fs::path &file);

private:
    void Open(TreeNode *parent, fs::path path, std::string key, std::string displayText, std::string bytes,
              const IncludeSite *site);
    void ReadProcedure(OpenFile &f, const Procedure &p);
    void FollowInclude(OpenFile &f, const IncludeDirective &d);
    void Skip(OpenFile &f, const IncludeDirective &d, const std::string &word, const std::string &message);
    void Finish();
    void CountNode(const IncludeSite *site);
    TextEncoding EncodingOf(const std::string &key, std::string_view bytes) const;
    std::string ChainText(const std::string &closing) const;

    ProjectTree &tree_;
    KeywordStore &store_;
    LoadContext &context_;
    IncludeResolver resolver_;
    std::vector<std::unique_ptr<OpenFile>> open_;
    std::unordered_set<std::string> onChain_;                   // keys of open_
    std::unordered_map<std::string, const TreeNode *> loaded_;  // key -> first node
    std::uintmax_t bytes_ = 0;
    std::size_t nodes_ = 0;
    bool optionExplicit_ = false;
};

bool Loader::Load(TreeNode *parent, const fs::path &file)
{
    KeywordStore::Batch batch(store_);
    tree_.SetFileOrder(true);
    try {
        // The file is closed again.
        std::string bytes = ReadWholeFile(file, file.string(), nullptr, context_.limits.documentBytes);
        if (LooksBinary(bytes))
            throw LoadError("文件 " + file.string() + " 不是文本文件（含有零字节），不能作为 ASP 文档打开");
        Open(parent, file, FileKey(file), RootDisplayName(file), std::move(bytes), nullptr);
        if (!parent)
            store_.ClearProjectNames();
        while (!open_.empty()) {
            OpenFile &f = *open_.back();
            if (f.nextItem == f.items.size()) {
                Finish();
                continue;
            }
            const Item &item = f.items[f.nextItem++];
            if (item.procedure)
                ReadProcedure(f, *item.procedure);
            else
                FollowInclude(f, *item.include);
        }
    } catch (...) {
        // A load that fails leaves every document with what was read.
        for (const auto &f : open_)
            if (!f->node->Record()) {
                TTreeRec record;
                record.Doc = f->document;
                record.Info = f->Info();
                tree_.AttachRecord(f->node, std::move(record));
            }
        throw;
    }
    batch.Commit();
    return optionExplicit_;
}

void Loader::Open(TreeNode *parent, fs::path path, std::string key, std::string displayText,
                  std::string bytes, const IncludeSite *site)
{
    auto f = std::make_unique<OpenFile>();
    f->path = std::move(path);
    f->key = std::move(key);
    f->shownName = resolver_.Site().Relative(f->path);
    bytes_ += bytes.size();
    if (bytes_ > context_.limits.projectBytes)
        throw LoadError("工程过大：读入文件 " + f->shownName + Where(site) + " 后，各文件合计 "
                        + std::to_string(bytes_) + " 字节，超过了 "
                        + SizeLimitText(context_.limits.projectBytes) + " 的上限，不能打开");
    CountNode(site);
    f->encoding = EncodingOf(f->key, bytes);
    f->document = std::make_shared<Document>(Document::FromFileBytes(f->path, std::move(bytes), f->encoding));
    const std::string &text = f->document->Text();
    const bool gbk = f->encoding == TextEncoding::Gbk;
    f->page = IsVBScriptFile(f->path) ? ScanScriptFileStructure(text, gbk) : ScanPageStructure(text, gbk);
    // A broken or generated page can hold thousands of problems: the first
    // few are named, the rest counted.
    constexpr size_t kProblemsShown = 10;
    for (size_t i = 0; i < f->page.problems.size() && i < kProblemsShown; ++i)
        context_.warnings.push_back(f->shownName + " 第 " + std::to_string(f->page.problems[i].line) + " 行："
                                    + f->page.problems[i].message);
    if (f->page.problems.size() > kProblemsShown)
        context_.warnings.push_back(f->shownName + " 还有 "
                                    + std::to_string(f->page.problems.size() - kProblemsShown)
                                    + " 处结构问题未列出");
    for (const Procedure &p : f->page.procedures)
        f->items.push_back({p.begin, &p, nullptr});
    for (const IncludeDirective &d : f->page.includes)
        f->items.push_back({d.begin, nullptr, &d});
    std::stable_sort(f->items.begin(), f->items.end(),
                     [](const Item &a, const Item &b) { return a.begin < b.begin; });
    f->node =
        parent ? tree_.AddChild(parent, std::move(displayText)) : tree_.AddTopLevel(std::move(displayText));
    onChain_.insert(f->key);
    open_.push_back(std::move(f));
}

void Loader::ReadProcedure(OpenFile &f, const Procedure &p)
{
    // The head goes to UTF-8 only for the message of a load that stops here:
    // pages hold many procedures.
    if (nodes_ >= context_.limits.nodes) {
        const IncludeSite site{f.shownName, p.line, AsUtf8(p.head, f.encoding)};
        throw LoadError(TooManyNodes(context_.limits.nodes, &site));
    }
    ++nodes_;
    ++f.functions;
    const std::string head = AsGbk(p.head, f.encoding);
    if (p.kind == ProcedureKind::Function || p.kind == ProcedureKind::Sub)
        RegisterFunctionKeyword(store_, head);
    TreeNode *node = tree_.AddChild(f.node, ExtractFunctionName(head, false));
    tree_.SetKind(node, NodeKind::Procedure);
    TTreeRec record;
    record.Doc = f.document;
    record.Range = f.document->Ranges().Add({p.begin, p.end});
    record.Info = Texts().function + std::to_string(p.line);
    tree_.AttachRecord(node, std::move(record));
}

// One directive: the named file is opened under f's node, unless it is
// already open further up the chain (a cycle, skipped) or was read before
// (a repeat, sharing the first node's record).
void Loader::FollowInclude(OpenFile &f, const IncludeDirective &d)
{
    ++f.includes;
    const bool gbk = f.encoding == TextEncoding::Gbk;
    const std::string directive =
        AsUtf8(std::string_view(f.document->Text()).substr(d.begin, d.end - d.begin), f.encoding);
    const IncludeSite site{f.shownName, d.line, directive};
    const IncludeTarget &target = resolver_.Resolve(f.path, d.kind, d.path, gbk);
    if (!target.Found()) {
        // A site without global.asa or web.config is rooted at the page's
        // folder: the user may name a higher one.
        const std::string hint = target.outcome == IncludeTarget::Outcome::OutsideSiteRoot
                                     ? "（站点根目录为 " + PathText(resolver_.Site().Path())
                                           + "，可在 文件→站点根目录 中另选，或用 --site-root）"
                                     : std::string();
        Skip(f, d, target.reasonWord,
             "无法包含 " + DirectiveText(d.kind, d.path, gbk) + Where(&site) + "：" + target.reason + hint);
        return;
    }
    if (onChain_.contains(target.key)) {
        Skip(f, d, "cycle", "包含循环，已跳过：" + ChainText(AsUtf8(d.path, f.encoding)) + Where(&site));
        return;
    }
    const std::string displayText = DocumentDisplayName(AsGbk(d.path, f.encoding));
    if (const auto first = loaded_.find(target.key); first != loaded_.end()) {
        CountNode(&site);
        tree_.ShareRecord(tree_.AddChild(f.node, displayText), first->second);
        context_.includes.push_back({f.shownName, d.line, d.kind, AsUtf8(d.path, f.encoding), {}});
        return;
    }
    // A folder or a device is refused by the resolver, a binary file here,
    // before it becomes a document.
    const std::string shownName = resolver_.Site().Relative(target.path);
    std::string bytes = ReadWholeFile(target.path, shownName, &site, context_.limits.documentBytes);
    if (LooksBinary(bytes)) {
        Skip(f, d, "binary",
             "无法包含 " + DirectiveText(d.kind, d.path, gbk) + Where(&site) + "：不是文本文件");
        return;
    }
    context_.includes.push_back({f.shownName, d.line, d.kind, AsUtf8(d.path, f.encoding), {}});
    Open(f.node, target.path, target.key, displayText, std::move(bytes), &site);
}

void Loader::Skip(OpenFile &f, const IncludeDirective &d, const std::string &word, const std::string &message)
{
    context_.includes.push_back({f.shownName, d.line, d.kind, AsUtf8(d.path, f.encoding), word});
    context_.warnings.push_back(message);
}

// The innermost open file is read to its end: its document gets its record.
void Loader::Finish()
{
    OpenFile &f = *open_.back();
    TreeNode *node = f.node;
    TTreeRec fresh;
    fresh.Doc = f.document;
    tree_.AttachRecord(node, std::move(fresh));
    TTreeRec &record = *node->Record();
    const std::string &raw = *f.document->SavedBytes();
    record.SourceFile = f.path;  // before the scan: a .vbs file is code throughout
    ScanNodeDeclarations(store_, *node);
    record.Info = f.Info();
    record.Loaded = FingerprintOf(f.path, raw);
    const bool optionExplicit = HasOptionExplicitLine(f.document->Text());
    // A layout save writes the header lines only above the root, as the
    // root's Option Explicit line asks.
    const bool header = !node->Parent() && optionExplicit;
    record.LayoutLoses = !LayoutGivesBack(raw, *node, header);
    if (open_.size() == 1)
        optionExplicit_ = optionExplicit;
    loaded_.emplace(f.key, node);
    onChain_.erase(f.key);
    open_.pop_back();
}

// The user's choice for this file, else the load's.
TextEncoding Loader::EncodingOf(const std::string &key, std::string_view bytes) const
{
    if (const auto chosen = context_.fileEncodings.find(key); chosen != context_.fileEncodings.end())
        return chosen->second;
    switch (context_.encoding) {
    case EncodingChoice::Gbk: return TextEncoding::Gbk;
    case EncodingChoice::Utf8: return TextEncoding::Utf8;
    case EncodingChoice::Auto: break;
    }
    return DetectEncoding(bytes).encoding;
}

// One more node; the site is named only when the limit is crossed.
void Loader::CountNode(const IncludeSite *site)
{
    if (++nodes_ > context_.limits.nodes)
        throw LoadError(TooManyNodes(context_.limits.nodes, site));
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
    return out + closing;
}

}  // namespace

std::string FileKey(const fs::path &file)
{
    std::error_code ec;
    fs::path canonical = fs::weakly_canonical(file, ec);
    if (ec)
        canonical = fs::absolute(file, ec).lexically_normal();
    return canonical.native();
}

bool LoadAspDocument(ProjectTree &tree, TreeNode *parent, const fs::path &file, KeywordStore &store,
                     LoadContext &context)
{
    // A folder or a device is refused by the reader, saying what it is.
    std::error_code ec;
    if (!fs::exists(file, ec))
        throw LoadError("无法打开文件 " + file.string() + "：文件不存在");
    std::optional<SiteRoot> site;
    try {
        site.emplace(context.siteRoot.empty() ? SiteRoot::Around(file)
                                              : SiteRoot::ForPage(context.siteRoot, file));
    } catch (const SiteRootError &e) {
        throw LoadError(e.what());
    }
    context.siteRoot = site->Path();
    // Every name the pages declare in one transaction, not one each.
    KeywordStore::Batch batch(store);
    const bool loaded = Loader(tree, store, context, std::move(*site)).Load(parent, file);
    batch.Commit();
    return loaded;
}

}  // namespace qasp
