#include "project/project_search.h"

#include "project/prompter.h"
#include "project/workspace.h"
#include "text/byte_string.h"
#include "text/gbk.h"
#include "text/gbk_codec.h"

namespace qasp {

std::optional<size_t> FindInNode(const TreeNode *node, std::string_view search, size_t start,
                                 Prompter &prompter)
{
    if (!node)
        return std::nullopt;
    if (search.empty()) {
        prompter.Information("请预先定义要搜索字串值!");
        return std::nullopt;
    }
    const std::string text = LowerAscii(node->Text());
    const std::string key = LowerAscii(search);
    // A match must begin on a character: a hit on the second byte of a
    // Chinese character is no match.
    size_t boundary = 0;
    for (size_t at = text.find(key, start); at != std::string::npos; at = text.find(key, at + 1)) {
        while (boundary < at)
            boundary += GbkCharLength(text, boundary);
        if (boundary == at)
            return at;
    }
    return std::nullopt;
}

std::optional<size_t> FindInProject(ProjectWorkspace &ws, std::string_view search, Prompter &prompter)
{
    if (search.empty())
        return std::nullopt;
    ProjectTree &tree = ws.Tree();
    TreeNode *selected = tree.Selected();
    if (!selected) {
        prompter.Information("没有选择要搜索的节点!无法完成任务!");
        return std::nullopt;
    }
    for (TreeNode *n = tree.NextInPreOrder(selected);; n = tree.NextInPreOrder(n)) {
        if (!n)
            n = tree.FirstTopLevel();
        if (n == selected)
            break;
        if (const std::optional<size_t> at = FindInNode(n, search, 0, prompter)) {
            ws.SelectNode(n);
            return at;
        }
    }
    prompter.Information("全部文档中没有找到[" + GbkToUtf8(search) + "]这个字符串!");
    return std::nullopt;
}

}  // namespace qasp
