#include "project/site_save.h"

#include "project/document_assembly.h"
#include "project/file_fingerprint.h"
#include "project/prompter.h"
#include "project/save_targets.h"
#include "project/save_transaction.h"
#include "project/stale_temporaries.h"
#include "project/tree_walk.h"
#include "project/write_error.h"
#include "text/gbk_codec.h"

#include <algorithm>
#include <map>
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
    bool writesBack;  // to the file the document was read from
};

}  // namespace

std::vector<TreeNode *> ChangedDocuments(const ProjectTree &tree)
{
    std::vector<TreeNode *> changed;
    for (TreeNode *n = tree.FirstTopLevel(); n; n = tree.NextInPreOrder(n)) {
        const TTreeRec *record = n->Record();
        if (!n->IsDocument() || n->IsRepeat() || !record)
            continue;
        const std::optional<std::string> &saved = n->Doc()->SavedBytes();
        if (!saved || FileBytesOf(*n) != *saved)
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
    std::vector<fs::path> stale = RemoveStaleSaveFiles(tree, files);
    const fs::path root = RealPathOf(siteRoot, files);
    const fs::path limit = toDir ? RealPathOf(*toDir, files) : root;
    // Which document each file of the project was read from, by real path:
    // wherever the save goes, those files are the project's own.
    std::map<fs::path, const TTreeRec *> sources;
    for (TreeNode *n = tree.FirstTopLevel(); n; n = tree.NextInPreOrder(n))
        if (n->IsDocument() && !n->IsRepeat() && n->Record() && !n->Record()->SourceFile.empty())
            sources.emplace(RealPathOf(n->Record()->SourceFile, files), n->Record());
    std::vector<Planned> plan;
    std::set<fs::path> taken;
    std::vector<fs::path> changedOnDisk, reload, othersRead;
    for (TreeNode *n = tree.FirstTopLevel(); n; n = tree.NextInPreOrder(n)) {
        TTreeRec *record = n->Record();
        if (!n->IsDocument() || n->IsRepeat() || !record || (only && n != only))
            continue;
        std::string bytes = FileBytesOf(*n);
        const std::optional<std::string> &saved = n->Doc()->SavedBytes();
        const bool unchanged = saved && bytes == *saved;
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
        const auto source = sources.find(file);
        const bool writesBack = source != sources.end() && source->second == record;
        if (writesBack && unchanged)
            continue;  // the document's own file: nothing of it to write
        if (writesBack && record->Loaded && CurrentFingerprint(record->SourceFile) != record->Loaded) {
            changedOnDisk.push_back(file);
            reload.push_back(record->SourceFile);
        }
        if (source != sources.end() && !writesBack)
            othersRead.push_back(file);
        plan.push_back({n, std::move(file), std::move(bytes), writesBack});
    }
    if (plan.empty())
        return SaveResult::Written({}, std::move(stale));
    const auto stopped = [&stale](SaveOutcome outcome, std::vector<fs::path> reloaded = {}) {
        SaveResult result;
        result.outcome = outcome;
        result.reload = std::move(reloaded);
        result.staleRemoved = std::move(stale);
        return result;
    };
    switch (AskAboutChangedFiles(changedOnDisk, prompter, policy)) {
    case ChangedFilesAnswer::Reload: return stopped(SaveOutcome::ReloadRequested, reload);
    case ChangedFilesAnswer::Cancel: return stopped(SaveOutcome::Cancelled);
    case ChangedFilesAnswer::Overwrite: break;
    }
    if (!MayReplaceReadFiles(othersRead, prompter, policy))
        return stopped(SaveOutcome::Cancelled);
    const auto asked = [&](const fs::path &file) {
        return std::find(changedOnDisk.begin(), changedOnDisk.end(), file) != changedOnDisk.end()
               || std::find(othersRead.begin(), othersRead.end(), file) != othersRead.end();
    };
    std::vector<FileWrite> writes;
    writes.reserve(plan.size());
    for (const Planned &p : plan)
        writes.push_back({p.file, p.bytes, asked(p.file)});
    SaveResult result = SaveResult::Written(WriteAllOrNothing(writes, files), std::move(stale));
    for (Planned &p : plan) {
        if (toDir && !p.writesBack)
            continue;  // a copy elsewhere: the document still stands for its own file
        TTreeRec &record = *p.node->Record();
        if (record.SourceFile.empty())
            record.SourceFile = p.file;
        record.Loaded = FingerprintOf(record.SourceFile, p.bytes);
        record.Doc->MarkSaved();
        // The file now holds the document's procedures as they are.
        record.Edited = false;
        for (const auto &child : p.node->Children())
            if (!child->IsDocument() && child->Record())
                child->Record()->Edited = false;
    }
    return result;
}

}  // namespace qasp
