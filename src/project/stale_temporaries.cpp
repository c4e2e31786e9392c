#include "project/stale_temporaries.h"

#include "project/temporary_files.h"

#include <set>

namespace qasp {

namespace fs = std::filesystem;

namespace {

void AddFolders(const TreeNode &top, std::set<fs::path> &folders)
{
    std::vector<const TreeNode *> pending{&top};
    while (!pending.empty()) {
        const TreeNode *n = pending.back();
        pending.pop_back();
        if (n->IsDocument() && n->Record() && !n->Record()->SourceFile.empty())
            folders.insert(n->Record()->SourceFile.parent_path());
        for (const auto &child : n->Children())
            pending.push_back(child.get());
    }
}

std::vector<fs::path> RemoveFrom(const std::set<fs::path> &folders, FileOperations &files)
{
    std::vector<fs::path> removed;
    for (const fs::path &dir : folders)
        for (fs::path &file : RemoveStaleTemporaryFiles(dir, files))
            removed.push_back(std::move(file));
    return removed;
}

}  // namespace

std::vector<fs::path> RemoveStaleSaveFiles(const ProjectTree &tree, FileOperations &files)
{
    std::set<fs::path> folders;
    for (const auto &top : tree.TopLevel())
        AddFolders(*top, folders);
    return RemoveFrom(folders, files);
}

std::vector<fs::path> RemoveStaleSaveFiles(const TreeNode &top, FileOperations &files)
{
    std::set<fs::path> folders;
    AddFolders(top, folders);
    return RemoveFrom(folders, files);
}

std::string StaleFilesNotice(const std::vector<fs::path> &removed)
{
    if (removed.empty())
        return {};
    std::string text = "已删除 " + std::to_string(removed.size()) + " 个中断的保存留下的临时文件:";
    for (const fs::path &file : removed)
        text += "\n    " + file.string();
    return text;
}

}  // namespace qasp
