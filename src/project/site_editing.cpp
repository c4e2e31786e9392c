#include "project/site_editing.h"

#include "project/document_assembly.h"
#include "project/include_path.h"
#include "site/page_structure.h"
#include "text/gbk_codec.h"

namespace qasp {
namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool IsBreak(char c)
{
    return c == '\r' || c == '\n';
}

// A document's text replaced as one undo step of its own.
void EditDocumentText(TreeNode &document, std::string text)
{
    TTreeRec &record = *document.Record();
    record.History.EndStep();
    record.History.Record(record.Text, text);
    record.History.EndStep();
    SetNodeText(document, std::move(text));
    record.Edited = true;
}

std::string InEncodingOf(const TTreeRec &record, std::string_view gbk)
{
    return record.Encoding == TextEncoding::Utf8 ? GbkToUtf8(gbk) : std::string(gbk);
}

}  // namespace

bool RemoveIncludeDirective(TreeNode &document)
{
    TreeNode *parent = document.Parent();
    if (!parent || !parent->Record())
        return false;
    // The directives naming this document, in order; this node is the n-th
    // document child of that name.
    int nth = 0;
    for (const auto &sibling : parent->Children()) {
        if (sibling.get() == &document)
            break;
        if (sibling->IsDocument() && sibling->DisplayText() == document.DisplayText())
            ++nth;
    }
    const TTreeRec &record = *parent->Record();
    const std::string &text = record.Text;
    const bool gbk = record.Encoding == TextEncoding::Gbk;
    for (const IncludeDirective &d : ScanPageStructure(text, gbk).includes) {
        const std::string name = DocumentDisplayName(gbk ? d.path : Utf8ToGbk(d.path));
        if (name != document.DisplayText() || nth-- > 0)
            continue;
        size_t begin = d.begin, end = d.end;
        // A directive alone on its line takes the line with it.
        size_t lineStart = begin, lineEnd = end;
        while (lineStart > 0 && IsBlank(text[lineStart - 1]))
            --lineStart;
        while (lineEnd < text.size() && IsBlank(text[lineEnd]))
            ++lineEnd;
        if ((lineStart == 0 || IsBreak(text[lineStart - 1]))
            && (lineEnd == text.size() || IsBreak(text[lineEnd]))) {
            begin = lineStart;
            end = lineEnd;
            if (end < text.size() && text[end] == '\r')
                ++end;
            if (end < text.size() && text[end] == '\n' && (end == lineEnd || text[end - 1] == '\r'))
                ++end;
        }
        std::string edited = text;
        edited.erase(begin, end - begin);
        EditDocumentText(*parent, std::move(edited));
        return true;
    }
    return false;
}

void AddIncludeDirective(TreeNode &parent, std::string_view includePath)
{
    const TTreeRec &record = *parent.Record();
    const std::string &text = record.Text;
    const std::string br = "\r\n";
    size_t at = text.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    for (const PageRegion &r : ScanPageStructure(text, record.Encoding == TextEncoding::Gbk).regions)
        if (r.kind == RegionKind::Directive) {
            at = r.end;
            while (at < text.size() && !IsBreak(text[at]))
                ++at;
            if (at < text.size() && text[at] == '\r')
                ++at;
            if (at < text.size() && text[at] == '\n')
                ++at;
            break;
        }
    std::string line = "<!--#include file=\"" + InEncodingOf(record, includePath) + "\"-->" + br;
    if (at > 0 && !IsBreak(text[at - 1]))
        line = br + line;
    std::string edited = text;
    edited.insert(at, line);
    EditDocumentText(parent, std::move(edited));
}

void PlaceProcedure(TreeNode &procedure, TreeNode &document)
{
    TTreeRec &record = *procedure.Record();
    const TTreeRec &target = *document.Record();
    if (record.Encoding != target.Encoding) {
        record.Text = target.Encoding == TextEncoding::Utf8 ? GbkToUtf8(record.Text) : Utf8ToGbk(record.Text);
        record.Encoding = target.Encoding;
        record.History.Clear();
    }
    // The procedure ends its own line, so that what follows it in the file
    // starts a line of its own.
    if (!record.Text.empty() && !IsBreak(record.Text.back()))
        record.Text += "\r\n";
    const size_t anchor = PlaceForNewProcedure(document);
    record.Anchor = anchor;
    record.Rank = NextRankAt(document, anchor);
}

bool MoveNodeWithText(ProjectTree &tree, TreeNode *node, TreeNode *target)
{
    if (!node || !target || node == target || target->IsInside(node) || !target->Record())
        return false;
    if (node->IsDocument() && node->Parent())
        RemoveIncludeDirective(*node);
    if (!tree.Move(node, target))
        return false;
    if (node->IsDocument()) {
        // The directive names the file from the folder of its new parent.
        const TTreeRec *record = node->Record();
        const TTreeRec *parent = target->Record();
        if (record && !record->SourceFile.empty() && !parent->SourceFile.empty()) {
            std::string path = record->SourceFile.lexically_normal()
                                   .lexically_relative(parent->SourceFile.parent_path())
                                   .generic_string();
            tree.Rename(node, DocumentDisplayName(Utf8ToGbk(path)));
        }
        AddIncludeDirective(*target, node->DisplayText());
    } else if (node->Record()) {
        PlaceProcedure(*node, *target);
    }
    return true;
}

}  // namespace qasp
