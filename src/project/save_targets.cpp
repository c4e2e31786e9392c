#include "project/save_targets.h"

#include "project/write_error.h"
#include "text/byte_string.h"
#include "text/gbk_codec.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <utility>
#include <vector>

namespace qasp {
namespace {

namespace fs = std::filesystem;

// File names are UTF-8 here: bytes of a non-ASCII character are never
// letters, so comparing byte by byte is safe.
bool SameIgnoringCase(const std::string &a, const std::string &b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return LowerAsciiChar(x) == LowerAsciiChar(y);
           });
}

bool IsInside(const fs::path &file, const fs::path &dir)
{
    const fs::path relative = file.lexically_relative(dir);
    return !relative.empty() && relative != "." && *relative.begin() != "..";
}

// Whether the parts of `name` are the last parts of `file`.
bool NameEndsPath(const fs::path &name, const fs::path &file)
{
    const std::vector<fs::path> a(name.begin(), name.end()), b(file.begin(), file.end());
    return !a.empty() && a.size() <= b.size()
           && std::equal(a.rbegin(), a.rend(), b.rbegin(), [](const fs::path &x, const fs::path &y) {
                  return SameIgnoringCase(x.string(), y.string());
              });
}

// The relative path a display text (GBK) names; empty when it names none
// below a directory ("", "../x", "a/"). A site's own paths separate with
// backslashes; once the text is UTF-8, no byte of a Chinese character is
// taken for one. A path from the site's root ("/inc/x.asp", an include's
// virtual path) names that path below the directory.
fs::path RelativeName(const std::string &display)
{
    std::string utf8 = GbkToUtf8(display);
    std::replace(utf8.begin(), utf8.end(), '\\', '/');
    fs::path name = fs::path(utf8).relative_path().lexically_normal();
    if (name.empty() || *name.begin() == ".." || !name.has_filename())
        return {};
    return name;
}

std::string Shown(const TreeNode &node)
{
    return GbkToUtf8(node.DisplayText());
}

class Planner {
    // A folder's names: each lower-case form with the spellings there
    // (file names are UTF-8 here, whose non-ASCII bytes are never letters).
    using Folder = std::map<std::string, std::set<std::string>>;

public:
    Planner(const fs::path &dir, FileOperations &files)
        : files_(files),
          dir_(dir),
          realDir_(RealPathOf(dir, files))
    {
    }

    std::vector<DocumentTarget> Plan(TreeNode &top)
    {
        const TreeNode *root = &top;
        while (root->Parent())
            root = root->Parent();
        const TTreeRec *rootRecord = root->Record();
        ownDir_ = rootRecord && !rootRecord->SourceFile.empty()
                  && RealPathOf(rootRecord->SourceFile.parent_path(), files_) == realDir_;
        FindSources(*root);
        Collect(top);
        if (!outside_.empty())
            throw WriteError("下列文档会写到目录 " + realDir_.string()
                             + " 之外，保存已取消，未写入任何文件:" + outside_);
        if (!conflicts_.empty())
            throw WriteError("保存已取消，未写入任何文件:" + conflicts_);
        return targets_;
    }

private:
    // A document is its record: a repeat shares its first node's.
    static const void *Identity(const TreeNode &node)
    {
        return node.Record() ? static_cast<const void *>(node.Record()) : &node;
    }

    // Walks keep lists of their own: an include chain thousands of
    // documents deep costs no stack.
    void FindSources(const TreeNode &top)
    {
        std::vector<const TreeNode *> pending{&top};
        while (!pending.empty()) {
            const TreeNode &node = *pending.back();
            pending.pop_back();
            if (node.IsDocument() && !node.IsRepeat() && node.Record()
                && !node.Record()->SourceFile.empty()) {
                const fs::path real = RealPathOf(node.Record()->SourceFile, files_);
                realSources_.emplace(node.Record(), real);
                sourceOwners_.emplace(real, &node);
            }
            for (auto child = node.Children().rbegin(); child != node.Children().rend(); ++child)
                pending.push_back(child->get());  // first child next: the tree's order
        }
    }

    // Each document after the documents below it, children in their order.
    void Collect(TreeNode &top)
    {
        std::vector<std::pair<TreeNode *, size_t>> pending;  // a document and its next child
        if (top.IsDocument() && !top.IsRepeat())
            pending.emplace_back(&top, 0);
        while (!pending.empty()) {
            auto &[node, next] = pending.back();
            if (next == node->Children().size()) {
                TreeNode *done = node;
                pending.pop_back();
                Place(*done);
                continue;
            }
            TreeNode *child = node->Children()[next++].get();
            if (child->IsDocument() && !child->IsRepeat())
                pending.emplace_back(child, 0);
        }
    }

    void Place(TreeNode &node)
    {
        const fs::path name = RelativeName(node.DisplayText());
        const auto source = realSources_.find(node.Record());
        const bool hasSource = source != realSources_.end();
        if (ownDir_ && hasSource && IsInside(source->second, realDir_)) {
            const fs::path &read = node.Record()->SourceFile;
            // A root named from a file-system path carries UTF-8 already.
            if (NameEndsPath(name, read) || NameEndsPath(fs::path(node.DisplayText()), read))
                return Add(node, source->second, true);
        }
        if (name.empty()) {
            outside_ += "\n    " + Shown(node);
            return;
        }
        const fs::path spelled = ExistingSpelling(name);
        Reserve(spelled);
        const fs::path real = RealPathOf(dir_ / spelled, files_);
        if (!IsInside(real, realDir_)) {
            outside_ += "\n    " + Shown(node) + "（" + real.string() + "）";
            return;
        }
        Add(node, real, hasSource && source->second == real);
    }

    void Add(TreeNode &node, const fs::path &file, bool writesBack)
    {
        const auto [it, fresh] = written_.emplace(file, &node);
        if (!fresh) {
            if (Identity(*it->second) != Identity(node))
                conflicts_ += "\n    文档 " + Shown(*it->second) + " 与文档 " + Shown(node)
                              + " 会写入同一个文件 " + file.string();
            return;
        }
        const auto owner = sourceOwners_.find(file);
        if (owner != sourceOwners_.end() && Identity(*owner->second) != Identity(node))
            conflicts_ += "\n    文档 " + Shown(node) + " 会覆盖文档 " + Shown(*owner->second)
                          + " 读入的文件 " + file.string();
        targets_.push_back({&node, file, writesBack});
    }

    // `name` spelled part by part as the file or folder already there that
    // differs from it only in letter case, so no case twin is created.
    fs::path ExistingSpelling(const fs::path &name)
    {
        fs::path here = dir_, spelled;
        bool exists = true;
        for (const fs::path &part : name) {
            fs::path chosen = part;
            const Folder *folder = exists ? Listing(here) : nullptr;
            const auto twins = folder ? folder->find(LowerAscii(part.string())) : Folder::const_iterator();
            if (!folder || twins == folder->end()) {
                exists = false;
            } else if (!twins->second.contains(part.string())) {
                chosen = *twins->second.begin();  // the first in sorted order
            }
            spelled /= chosen;
            here /= chosen;
        }
        return spelled;
    }

    // Names this save creates count as taken: a second document naming
    // them in other letters goes to the same file or folder.
    void Reserve(const fs::path &spelled)
    {
        fs::path here = dir_;
        for (const fs::path &part : spelled) {
            auto &folder = listings_[here];
            if (!folder)
                folder.emplace();
            (*folder)[LowerAscii(part.string())].insert(part.string());
            here /= part;
        }
    }

    // The names in `dir` by their lower-case form, null when it is no
    // directory.
    const Folder *Listing(const fs::path &dir)
    {
        auto it = listings_.find(dir);
        if (it == listings_.end()) {
            std::vector<std::string> names;
            const std::error_code error = files_.List(dir, names);
            if (error && error != std::errc::no_such_file_or_directory && error != std::errc::not_a_directory)
                throw WriteError("无法读取目录 " + dir.string() + "：" + error.message());
            std::optional<Folder> folder;
            if (!error) {
                folder.emplace();
                for (std::string &n : names)
                    (*folder)[LowerAscii(n)].insert(std::move(n));
            }
            it = listings_.emplace(dir, std::move(folder)).first;
        }
        return it->second ? &*it->second : nullptr;
    }

    FileOperations &files_;
    const fs::path dir_;
    const fs::path realDir_;
    bool ownDir_ = false;
    std::map<const TTreeRec *, fs::path> realSources_;
    std::map<fs::path, const TreeNode *> sourceOwners_;
    std::map<fs::path, const TreeNode *> written_;
    std::map<fs::path, std::optional<Folder>> listings_;
    std::vector<DocumentTarget> targets_;
    std::string outside_, conflicts_;
};

}  // namespace

fs::path RealPathOf(const fs::path &path, FileOperations &files)
{
    fs::path real;
    if (const std::error_code error = files.RealPath(path, real))
        throw WriteError("无法确定 " + path.string() + " 的实际位置：" + error.message());
    return real;
}

std::vector<DocumentTarget> PlanProjectSave(TreeNode &top, const fs::path &dir, FileOperations &files)
{
    return Planner(dir, files).Plan(top);
}

}  // namespace qasp
