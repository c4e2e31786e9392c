#include "project/asp_loader.h"

#include "editor/declaration_scan.h"
#include "editor/key_type.h"
#include "editor/keyword_store.h"
#include "project/asp_writer.h"
#include "project/include_path.h"
#include "project/layout_check.h"
#include "text/byte_string.h"
#include "text/function_name.h"
#include "text/gbk_codec.h"
#include "text/line_split.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>

namespace qasp {
namespace {

namespace fs = std::filesystem;

const std::string kDocumentInfoHead = Utf8ToGbk("链接ASP文件:");
const std::string kDocumentInfoMiddle = Utf8ToGbk("个;函数:");
const std::string kDocumentInfoTail = Utf8ToGbk("个");
const std::string kFunctionInfo = Utf8ToGbk("启始行数:");

// Where an include line stands, for messages.
struct IncludeSite {
    std::string fileName;  // UTF-8
    int line = 0;
    std::string text;      // UTF-8
};

std::string Where(const IncludeSite *site)
{
    if (!site)
        return {};
    return "（" + site->fileName + " 第 " + std::to_string(site->line) + " 行：" + site->text + "）";
}

std::string ReadWholeFile(const fs::path &path, const std::string &shownName, const IncludeSite *site)
{
    std::error_code error;
    const auto size = fs::file_size(path, error);
    if (!error && size > kMaxDocumentBytes)
        throw LoadError("文件 " + shownName + Where(site) + " 有 " + std::to_string(size) + " 字节，超过了 " +
                        std::to_string(kMaxDocumentBytes / (1024 * 1024)) + " MB 的上限，不能作为 ASP 文档打开");
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

std::string ChainText(const LoadContext &context, const std::string &closing)
{
    std::string out;
    for (const LoadContext::Frame &f : context.chain)
        out += GbkToUtf8(f.name) + " -> ";
    return out + GbkToUtf8(closing);
}

bool LoadFile(ProjectTree &tree, TreeNode *parent, std::string_view fileName, KeywordStore &store,
              LoadContext &context, const IncludeSite *site);

// One include line: the named file is loaded under `node` at once, unless
// it is already being loaded further up the chain.
void FollowInclude(ProjectTree &tree, TreeNode *node, const std::string &line, int lineNumber,
                   KeywordStore &store, LoadContext &context)
{
    const std::string path = QuotedPath(line);
    const std::string here = GbkToUtf8(context.chain.back().name);
    if (path.empty()) {
        context.warnings.push_back(here + " 第 " + std::to_string(lineNumber)
                                   + " 行的包含行没有引号中的文件名，已跳过：" + GbkToUtf8(line));
        return;
    }
    const IncludeSite site{here, lineNumber, GbkToUtf8(line)};
    if (const auto resolved = ResolveIncludePath(context.baseDir, path)) {
        std::error_code ec;
        const fs::path canonical = fs::weakly_canonical(*resolved, ec);
        for (const LoadContext::Frame &f : context.chain)
            if (f.file == canonical) {
                context.warnings.push_back("包含循环，已跳过：" + ChainText(context, path) + Where(&site));
                return;
            }
    }
    LoadFile(tree, node, path, store, context, &site);
}

bool LoadFile(ProjectTree &tree, TreeNode *parent, std::string_view fileName, KeywordStore &store,
              LoadContext &context, const IncludeSite *site)
{
    const std::string shownName = GbkToUtf8(fileName);
    const auto resolved = ResolveIncludePath(context.baseDir, fileName);
    if (!resolved)
        throw LoadError("无法打开文件 " + shownName + Where(site) + "：文件不存在");
    const std::string bytes = ReadWholeFile(*resolved, shownName, site);  // the file is closed again
    std::error_code ec;
    context.chain.push_back({fs::weakly_canonical(*resolved, ec), std::string(fileName)});

    KeywordStore::Batch batch(store);
    TreeNode *node = parent ? tree.AddChild(parent, DocumentDisplayName(fileName))
                            : tree.AddTopLevel(DocumentDisplayName(fileName));
    if (!parent)
        store.ExecuteStatement("delete from Key_Public");

    std::string pageText;
    int includes = 0, functions = 0;
    const auto info = [&] {
        return kDocumentInfoHead + std::to_string(includes) + kDocumentInfoMiddle
               + std::to_string(functions) + kDocumentInfoTail;
    };
    // A load that fails below leaves this document with what was read.
    struct RecordGuard {
        ProjectTree &tree;
        TreeNode *node;
        std::string &pageText;
        std::function<std::string()> info;
        ~RecordGuard()
        {
            if (!node->Record())
                tree.AttachRecord(node, {pageText, info()});
        }
    } guard{tree, node, pageText, info};

    const std::vector<std::string> lines = SplitFileLines(bytes);
    bool optionExplicit = false;
    int lineNumber = 0;
    for (size_t i = 0; i < lines.size();) {
        const std::string line = TrimRight(lines[i++]);
        ++lineNumber;
        const std::string trimmed = Trim(line);
        const std::string lower = LowerAscii(trimmed);
        if (lower == "<%option explicit%>")
            optionExplicit = true;

        if (StartsWithNoCase(line, "<!--#include ")) {
            ++includes;
            FollowInclude(tree, node, line, lineNumber, store, context);
        } else if (lower.rfind("function ", 0) == 0) {
            ++functions;
            const std::string prototype = ExtractFunctionName(line, false);
            store.ReplaceKeyword("Key_Public", ExtractFunctionName(prototype, true), prototype,
                                 kProjectFunction);
            TreeNode *fn = tree.AddChild(node, prototype);
            tree.SetImages(fn, kFunctionImage);
            tree.AttachRecord(fn, {"", kFunctionInfo + std::to_string(lineNumber)});
            std::string text = line;
            std::string current = prototype;
            while (LowerAscii(Trim(current)) != "end function" && i < lines.size()) {
                current = TrimRight(lines[i++]);
                ++lineNumber;
                text += "\r\n" + current;
            }
            fn->Record()->Text = std::move(text);
        } else if (trimmed == "<%") {
            pageText.clear();
        } else if (trimmed == "%>") {
            break;
        } else if (!trimmed.empty()) {
            if (!pageText.empty())
                pageText += "\r\n";
            pageText += line;
        }
    }

    tree.AttachRecord(node);
    tree.SortChildren(node);
    TTreeRec &record = *node->Record();
    record.Text = pageText;
    ScanDeclarations(store, "Key_Public", pageText);
    record.Info = info();
    record.SourceFile = *resolved;
    record.Loaded = FingerprintOf(*resolved, bytes);
    record.LayoutLoses = !LayoutGivesBack(bytes, AspDocumentBytes(*node, false));
    batch.Commit();
    context.chain.pop_back();
    return optionExplicit;
}

}  // namespace

bool LoadAspDocument(ProjectTree &tree, TreeNode *parent, std::string_view fileName,
                     KeywordStore &store, LoadContext &context)
{
    const size_t depth = context.chain.size();
    try {
        return LoadFile(tree, parent, fileName, store, context, nullptr);
    } catch (...) {
        context.chain.resize(depth);
        throw;
    }
}

}  // namespace qasp
