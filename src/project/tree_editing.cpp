#include "project/tree_editing.h"

#include "editor/key_type.h"
#include "editor/keyword_store.h"
#include "project/prompter.h"
#include "project/site_editing.h"
#include "project/workspace.h"
#include "text/byte_string.h"
#include "text/function_name.h"
#include "text/gbk_codec.h"

namespace qasp {
namespace {

// The name exists already: offer to show it instead. True when the caller
// is done (the question was asked).
bool OfferExisting(ProjectWorkspace &ws, Prompter &prompter, std::string_view name)
{
    const std::optional<int> found = FindNodeByName(ws.Tree(), name);
    if (!found)
        return false;
    if (prompter.Question("错误提示", "已经有了这个结点!你想看看这个文档吗?", QuestionButtons::YesNo)
        == Answer::Yes)
        ws.SelectNode(ws.Tree().NodeAt(*found));
    return true;
}

std::string AskName(Prompter &prompter, std::string_view prompt)
{
    return Utf8ToGbk(Trim(prompter.InputBox("名称输入", prompt, "")));
}

}  // namespace

void AddAspDocument(ProjectWorkspace &ws, Prompter &prompter)
{
    const std::string name = AskName(prompter, "请输入一个ASP文档名称:");
    if (name.empty() || OfferExisting(ws, prompter, name))
        return;
    TreeNode *selected = ws.Tree().Selected();
    if (selected && !selected->IsDocument()) {
        prompter.Information("不能将文档添加到一个函数中!");
        return;
    }
    ProjectTree &tree = ws.Tree();
    TreeNode *node = selected ? tree.AddChild(selected, name) : tree.AddTopLevel(name);
    tree.SetKind(node, NodeKind::Document);
    // A new file is written like the one that includes it; the including
    // document names it in a directive of its own, and the file is written
    // beside it by the next save.
    const Document *including = selected ? selected->Doc() : nullptr;
    TTreeRec record({}, {}, including ? including->Encoding() : ws.NewPageEncoding);
    if (including)
        record.Doc->SetLineBreaks(including->LineBreaks());
    tree.AttachRecord(node, std::move(record));
    if (including)
        AddIncludeDirective(*selected, name);
    ws.SelectNode(node);
}

void AddFunction(ProjectWorkspace &ws, Prompter &prompter)
{
    const std::string prototype = AskName(prompter, "请输入函数原型如:\rNewFunName(ivar1,ivar2...)");
    if (prototype.empty() || OfferExisting(ws, prompter, prototype))
        return;
    TreeNode *selected = ws.Tree().Selected();
    if (selected && !selected->IsDocument())
        selected = selected->Parent();  // beside the selected function
    if (!selected) {
        prompter.Information("不能将函数直接添加到空文档中,你应该先添加一个ASP文档");
        return;
    }
    ProjectTree &tree = ws.Tree();
    if (!selected->Record())
        tree.AttachRecord(selected);
    TreeNode *node = tree.AddChild(selected, prototype);
    tree.SetKind(node, NodeKind::Procedure);
    tree.AttachRecord(node);
    // The new function's bytes go at the end of the page's last script block.
    const std::string text = "Function " + prototype + "\r\n\r\nEnd Function\r\n";
    PlaceProcedure(*node, *selected, selected->Encoding() == TextEncoding::Utf8 ? GbkToUtf8(text) : text);
    ws.Store().ReplaceKeyword(KeywordTable::Public, ExtractFunctionName(prototype, true), prototype,
                              kProjectFunction);
    ws.Store().RefreshKeywords();
    ws.SelectNode(node);
}

void DeleteSelectedNode(ProjectWorkspace &ws, Prompter &prompter)
{
    TreeNode *node = ws.Tree().Selected();
    if (!node) {
        prompter.Information("没有选择要删除的节点!无法操作!");
        return;
    }
    if (node->IsDocument()) {
        // The file stays on disk; the page above no longer includes it.
        RemoveIncludeDirective(*node);
        ws.Tree().Delete(node);
        prompter.Information("你需要重载主文件以便刷新全局列表!");
    } else {
        ws.Store().RemoveFunction(node->DisplayText());
        RemoveProcedureText(*node);
        ws.Tree().Delete(node);
    }
    ws.Store().RefreshKeywords();
}

std::optional<int> FindNodeByName(const ProjectTree &tree, std::string_view name)
{
    const std::string key = LowerAscii(ExtractFunctionName(name, true));
    int index = 0;
    for (const TreeNode *n = tree.FirstTopLevel(); n; n = tree.NextInPreOrder(n), ++index)
        if (LowerAscii(ExtractFunctionName(n->DisplayText(), true)) == key)
            return index;
    return std::nullopt;
}

}  // namespace qasp
