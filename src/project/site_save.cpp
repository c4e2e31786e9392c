#include "project/site_save.h"

#include "project/document_assembly.h"
#include "project/file_fingerprint.h"
#include "project/prompter.h"
#include "project/save_targets.h"
#include "project/save_transaction.h"
#include "project/tree_walk.h"
#include "project/write_error.h"
#include "text/gbk_codec.h"

#include <algorithm>
#include <set>

namespace qasp {
namespace {

namespace fs = std::filesystem;

bool IsBelow(const fs::path &path, const fs::path &dir)
{
    const fs::path relative = path.lexically_normal().lexically_relative(dir.lexically_normal());
    return !relative.empty() && *relative.begin() != "..";
}

// Where a document made in the editor goes: beside the file of the
// document that includes it, at the path its name (an include path) gives.
fs::path NewDocumentPath(const TreeNode &node, const fs::path &siteRoot)
{
    fs::path folder = siteRoot;
    for (const TreeNode *up = node.Parent(); up; up = up->Parent())
        if (up->Record() && !up->Record()->SourceFile.empty()) {
            folder = up->Record()->SourceFile.parent_path();
            break;
        }
    std::string name = GbkToUtf8(node.DisplayText());
    std::replace(name.begin(), name.end(), '\\', '/');
    return (folder / fs::path(name)).lexically_normal();
}

struct Planned {
    TreeNode *node;
    fs::path file;  // real path
    std::string bytes;
};

}  // namespace

std::vector<TreeNode *> ChangedDocuments(const ProjectTree &tree)
{
    std::vector<TreeNode *> changed;
    for (TreeNode *n = tree.FirstTopLevel(); n; n = tree.NextInPreOrder(n)) {
        const TTreeRec *record = n->Record();
        if (!n->IsDocument() || n->IsRepeat() || !record)
            continue;
        if (!record->LoadedBytes || FileBytesOf(*n) != *record->LoadedBytes)
            changed.push_back(n);
    }
    return changed;
}

TreeNode *FirstInclusionOf(const ProjectTree &tree, const TreeNode *repeat)
{
    for (TreeNode *n = tree.FirstTopLevel(); n; n = tree.NextInPreOrder(n))
        if (!n->IsRepeat() && n->Record() == repeat->Record())
            return n;
    return nullptr;
}

SaveResult SaveSite(ProjectTree &tree, const fs::path &siteRoot, Prompter &prompter, OverwritePolicy policy,
                    FileOperations &files, const std::optional<fs::path> &toDir, const TreeNode *only)
{
    if (!tree.FirstTopLevel()) {
        prompter.Information("工程文档为空,无法保存!");
        return {};
    }
    const fs::path root = RealPathOf(siteRoot, files);
    const fs::path limit = toDir ? RealPathOf(*toDir, files) : root;
    std::vector<Planned> plan;
    std::set<fs::path> taken;
    std::vector<fs::path> changedOnDisk, reload;
    for (TreeNode *n = tree.FirstTopLevel(); n; n = tree.NextInPreOrder(n)) {
        TTreeRec *record = n->Record();
        if (!n->IsDocument() || n->IsRepeat() || !record || (only && n != only))
            continue;
        std::string bytes = FileBytesOf(*n);
        const bool unchanged = record->LoadedBytes && bytes == *record->LoadedBytes;
        if (unchanged && !toDir)
            continue;
        fs::path file = record->SourceFile.empty() ? NewDocumentPath(*n, root) : record->SourceFile;
        if (toDir)
            file = limit / fs::relative(RealPathOf(file, files), root);
        file = RealPathOf(file, files);
        if (!IsBelow(file, limit))
            throw WriteError("文档 " + GbkToUtf8(n->DisplayText()) + " 会写到站点目录之外：" + file.string()
                             + "，没有保存任何文件");
        if (!taken.insert(file).second)
            throw WriteError("两个文档会写到同一个文件 " + file.string() + "，没有保存任何文件");
        if (!toDir && record->Loaded && CurrentFingerprint(record->SourceFile) != record->Loaded) {
            changedOnDisk.push_back(file);
            reload.push_back(record->SourceFile);
        }
        plan.push_back({n, std::move(file), std::move(bytes)});
    }
    if (plan.empty())
        return {SaveOutcome::Saved, {}, {}};
    switch (AskAboutChangedFiles(changedOnDisk, prompter, policy)) {
    case ChangedFilesAnswer::Reload: return {SaveOutcome::ReloadRequested, {}, reload};
    case ChangedFilesAnswer::Cancel: return {};
    case ChangedFilesAnswer::Overwrite: break;
    }
    std::vector<FileWrite> writes;
    writes.reserve(plan.size());
    for (const Planned &p : plan)
        writes.push_back(
            {p.file, p.bytes,
             std::find(changedOnDisk.begin(), changedOnDisk.end(), p.file) != changedOnDisk.end()});
    SaveResult result{SaveOutcome::Saved, WriteAllOrNothing(writes, files), {}};
    if (!toDir)
        for (Planned &p : plan) {
            TTreeRec &record = *p.node->Record();
            if (record.SourceFile.empty())
                record.SourceFile = p.file;
            record.Loaded = FingerprintOf(record.SourceFile, p.bytes);
            record.LoadedBytes = std::move(p.bytes);
            record.Edited = false;
        }
    return result;
}

}  // namespace qasp
