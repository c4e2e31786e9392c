#include "project/find_replace.h"

#include "editor/editor_surface.h"
#include "project/document_assembly.h"
#include "project/node_script.h"
#include "project/site_save.h"
#include "project/window_surface.h"
#include "project/workspace.h"

#include <algorithm>
#include <optional>

namespace qasp {
namespace {

std::string NotFound(const FindRequest &request)
{
    return "找不到“" + request.pattern + "”";
}

void Show(ProjectWorkspace &ws, TreeNode *node, const TextMatch &match)
{
    if (ws.Tree().Selected() != node)
        ws.SelectNode(node);
    ws.EndUndoStep();  // typing after a found match is a new step
    ws.Window().Memo().SetSelection(match.offset, match.length);
}

// The replacements, last first so that the offsets of the others hold, as
// edits of the node's document: one undo step, named and tied to `group`
// when they are part of a replace across documents. The editor follows
// the document when it shows it. Returns where the last replacement ends.
size_t ReplaceInNode(ProjectWorkspace &ws, TreeNode &node, const std::vector<PlannedReplacement> &planned,
                     std::string label = {}, std::uint64_t group = 0)
{
    long moved = 0;  // how far the replacements before the last one move its end
    for (size_t i = 0; i + 1 < planned.size(); ++i)
        moved += static_cast<long>(planned[i].bytes.size()) - static_cast<long>(planned[i].match.length);
    Document &doc = *node.Doc();
    doc.BeginUndoStep(std::move(label), group);
    for (auto it = planned.rbegin(); it != planned.rend(); ++it) {
        const std::string removed(node.Text().substr(it->match.offset, it->match.length));
        if (removed != it->bytes)
            EditNodeText(node, {it->match.offset, removed, it->bytes});
    }
    doc.EndUndoStep();
    node.Record()->Edited = true;
    ws.Modified = true;
    const PlannedReplacement &lastOne = planned.back();
    return static_cast<size_t>(static_cast<long>(lastOne.match.offset + lastOne.bytes.size()) + moved);
}

// A replace in the editor's node: the caret after the last replacement.
void ReplaceInSelected(ProjectWorkspace &ws, const std::vector<PlannedReplacement> &planned)
{
    TreeNode *node = ws.Tree().Selected();
    const std::uint64_t revision = node->Doc()->Revision();
    const size_t end = ReplaceInNode(ws, *node, planned);
    if (node->Doc()->Revision() == revision)
        return;
    ws.AfterProgramEdits(*node, true);
    ws.UpdateHistoryActions();
    ws.Window().Memo().SetSelection(end, 0);
}

// The document nodes whose files the project holds, each file once.
std::vector<TreeNode *> DocumentsOnce(ProjectTree &tree)
{
    std::vector<TreeNode *> nodes;
    for (TreeNode *n = tree.FirstTopLevel(); n; n = tree.NextInPreOrder(n))
        if (n->IsDocument() && !n->IsRepeat() && n->Doc())
            nodes.push_back(n);
    return nodes;
}

}  // namespace

FindOutcome FindNextMatch(ProjectWorkspace &ws, const FindRequest &request)
{
    const TextMatcher matcher(request.pattern, request.options);
    if (!matcher.Error().empty())
        return {false, false, 0, matcher.Error()};
    ProjectTree &tree = ws.Tree();
    TreeNode *start = tree.Selected();
    size_t from = 0;
    if (start) {
        const EditorSurface &memo = ws.Window().Memo();
        from = memo.SelectionStart() + memo.SelectionLength();
    } else {
        start = tree.FirstTopLevel();
    }
    if (!start)
        return {false, false, 0, "工程中没有可查找的节点"};
    const auto find = [&](TreeNode *node, size_t at) {
        return matcher.FindNext(node->Text(), node->Encoding(), at);
    };

    if (const std::optional<TextMatch> m = find(start, from)) {
        Show(ws, start, *m);
        return {true, false, 0, {}};
    }
    if (request.scope == FindScope::Project && !start->IsDocument()) {
        // Past a procedure's end the search goes on in its file, whose
        // document node shows the rest of it.
        if (TreeNode *document = start->Parent(); document && document->Doc() == start->Doc()) {
            const size_t after = start->Record()->Begin() + start->Text().size();
            if (const std::optional<TextMatch> m = find(document, after)) {
                Show(ws, document, *m);
                return {true, false, 0, {}};
            }
            start = document;
        }
    }
    // Past the end of the project (or of the node) the search goes on from
    // the start; without wrapping it only learns whether a match is there.
    const char *end = request.scope == FindScope::Project ? "工程" : "节点";
    bool wrapped = false;
    TreeNode *hit = nullptr;
    std::optional<TextMatch> match;
    if (request.scope == FindScope::Project) {
        // Documents only: a procedure's text is in its document's.
        for (TreeNode *n = tree.NextInPreOrder(start);; n = tree.NextInPreOrder(n)) {
            if (!n) {
                wrapped = true;
                n = tree.FirstTopLevel();
            }
            if (n == start)
                break;
            if (!n->IsDocument() || n->IsRepeat())
                continue;
            if ((match = find(n, 0))) {
                hit = n;
                break;
            }
        }
    }
    if (!hit && (match = find(start, 0))) {
        hit = start;
        wrapped = true;
    }
    if (!hit)
        return {false, false, 0, NotFound(request)};
    if (wrapped && !request.wrap)
        return {false, false, 0, std::string("已到达") + end + "末尾，后面没有“" + request.pattern + "”"};
    Show(ws, hit, *match);
    if (wrapped)
        return {true, true, 0, std::string("已到达") + end + "末尾，从开头继续查找"};
    return {true, false, 0, {}};
}

FindOutcome ReplaceAndFindNext(ProjectWorkspace &ws, const FindRequest &request)
{
    const TextMatcher matcher(request.pattern, request.options);
    if (!matcher.Error().empty())
        return {false, false, 0, matcher.Error()};
    size_t replaced = 0;
    if (TreeNode *node = ws.Tree().Selected()) {
        EditorSurface &memo = ws.Window().Memo();
        const size_t at = memo.SelectionStart();
        const std::optional<TextMatch> m =
            memo.SelectionLength() > 0 ? matcher.FindNext(node->Text(), node->Encoding(), at) : std::nullopt;
        if (m && m->offset == at && m->length == memo.SelectionLength()) {
            std::string error;
            std::optional<std::string> bytes =
                matcher.ReplacementFor(node->Text(), node->Encoding(), *m, request.replacement, &error);
            if (!bytes)
                return {false, false, 0, error};
            ReplaceInSelected(ws, {{*m, std::move(*bytes)}});
            replaced = 1;
        }
    }
    FindOutcome next = FindNextMatch(ws, request);
    next.replaced = replaced;
    if (replaced && !next.found)
        next.message =
            "已替换 1 处；" + (next.message == NotFound(request) ? "后面没有更多匹配" : next.message);
    return next;
}

FindOutcome ReplaceAllMatches(ProjectWorkspace &ws, const FindRequest &request)
{
    const TextMatcher matcher(request.pattern, request.options);
    if (!matcher.Error().empty())
        return {false, false, 0, matcher.Error()};
    ProjectTree &tree = ws.Tree();
    TreeNode *original = tree.Selected();
    if (request.scope == FindScope::Node && !original)
        return {false, false, 0, "请先选择一个节点"};
    const size_t caret = ws.Window().Memo().SelectionStart();

    std::vector<TreeNode *> nodes;
    if (request.scope == FindScope::Node)
        nodes.push_back(original);
    else
        nodes = DocumentsOnce(tree);

    // Every document's replacements are one step of its history, and the
    // steps of one replace are undone together.
    const std::uint64_t group = request.scope == FindScope::Project ? ws.NewEditGroup() : 0;
    const std::string label = request.scope == FindScope::Project ? "全部替换" : "替换";
    FindOutcome outcome;
    size_t changedNodes = 0;
    size_t caretAfter = caret;  // in the shown node: after its last replacement
    for (TreeNode *node : nodes) {
        std::string error;
        const std::optional<std::vector<PlannedReplacement>> planned =
            matcher.PlanReplacements(node->Text(), node->Encoding(), request.replacement, &error);
        if (!planned) {
            // Nodes already done stay done (each can be undone); the rest is
            // left alone rather than half replaced.
            outcome.message = error;
            break;
        }
        if (planned->empty())
            continue;
        const size_t end = ReplaceInNode(ws, *node, *planned, label, group);
        if (node == original)
            caretAfter = end;
        if (node->IsDocument())
            ScanNodeDeclarations(ws.Store(), *node);
        outcome.replaced += planned->size();
        ++changedNodes;
    }
    if (changedNodes) {
        if (TreeNode *shown = tree.Selected()) {
            ws.AfterProgramEdits(*shown, true);
            ws.Window().Memo().SetSelection(std::min(caretAfter, shown->Text().size()), 0);
        }
        ws.UpdateHistoryActions();
    }
    outcome.found = outcome.replaced > 0;
    if (!outcome.message.empty()) {
        if (outcome.replaced)
            outcome.message = "已替换 " + std::to_string(outcome.replaced) + " 处后停止：" + outcome.message;
    } else if (!outcome.replaced) {
        outcome.message = NotFound(request);
    } else {
        outcome.message = "已替换 " + std::to_string(outcome.replaced) + " 处";
        if (request.scope == FindScope::Project)
            outcome.message += "（" + std::to_string(changedNodes) + " 个节点）";
    }
    return outcome;
}

}  // namespace qasp
