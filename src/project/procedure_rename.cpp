#include "project/procedure_rename.h"

#include "editor/char_classes.h"
#include "editor/editor_surface.h"
#include "project/window_surface.h"
#include "project/workspace.h"
#include "text/byte_string.h"
#include "text/function_name.h"

#include <algorithm>

namespace qasp {
namespace {

bool IsAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsVBScriptName(std::string_view name)
{
    if (name.empty() || name.size() > 255 || !IsAsciiLetter(name.front()))
        return false;
    return std::ranges::all_of(name, [](char c) { return IsWordChar(static_cast<unsigned char>(c)); });
}

// Where the procedure's name stands in its head line: after the modifiers
// and the Function or Sub keyword.
std::optional<size_t> NamePosition(std::string_view head, std::string_view name)
{
    const std::string lower = LowerAscii(head);
    for (std::string_view keyword : {"function", "sub"}) {
        for (size_t at = lower.find(keyword); at != std::string::npos; at = lower.find(keyword, at + 1)) {
            const size_t after = at + keyword.size();
            size_t start = after;
            while (start < head.size() && (head[start] == ' ' || head[start] == '\t'))
                ++start;
            if (start > after && head.substr(start, name.size()) == name)
                return start;
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> RenameProcedure(ProjectWorkspace &ws, TreeNode *node, std::string_view newLabel)
{
    if (!node)
        return std::nullopt;
    if (node->IsDocument()) {
        ws.Tree().Rename(node, Trim(newLabel));
        return std::nullopt;
    }
    const std::string name = ExtractFunctionName(newLabel, true);
    if (!IsVBScriptName(name))
        return "不是合法的函数名：名称以英文字母开头，只含英文字母、数字和下划线。";
    const std::string head(FirstLineOf(node->Text()));
    const std::string oldName = ExtractFunctionName(head, true);
    if (name == oldName)
        return std::nullopt;
    const std::optional<size_t> at = NamePosition(head, oldName);
    if (!IsProcedureHead(head) || !at)
        return "这个函数的第一行不是 Function 或 Sub 的声明，请在代码中修改它的名称。";
    if (const TreeNode *parent = node->Parent())
        for (const auto &sibling : parent->Children())
            if (sibling.get() != node && !sibling->IsDocument()
                && LowerAscii(ExtractFunctionName(sibling->DisplayText(), true)) == LowerAscii(name))
                return "这个文档中已经有名为“" + name + "”的函数。";

    // Through the editor, as typing over the name would: the node's history
    // keeps the rename as one step.
    ws.SelectNode(node);
    EditorSurface &memo = ws.Window().Memo();
    ws.EndUndoStep();
    memo.SetSelection(*at, oldName.size());
    memo.ReplaceSelection(name);
    ws.CMemoChange();  // the editor's own signal may have run it already
    ws.EndUndoStep();
    ws.FollowFunctionHead(node, FirstLineOf(node->Text()));
    return std::nullopt;
}

}  // namespace qasp
