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

// One edit of a document's text as an undo step of its own.
void EditDocumentText(TreeNode &document, const TextEdit &edit)
{
    TTreeRec &record = *document.Record();
    record.Doc->EndUndoStep();
    record.Doc->Apply(edit);
    record.Doc->EndUndoStep();
    record.Edited = true;
}

std::string InEncodingOf(const Document &doc, std::string_view gbk)
{
    return doc.Encoding() == TextEncoding::Utf8 ? GbkToUtf8(gbk) : std::string(gbk);
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
    const Document &doc = *parent->Doc();
    const std::string &text = doc.Text();
    const bool gbk = doc.Encoding() == TextEncoding::Gbk;
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
        EditDocumentText(*parent, {begin, text.substr(begin, end - begin), {}});
        return true;
    }
    return false;
}

void AddIncludeDirective(TreeNode &parent, std::string_view includePath)
{
    const Document &doc = *parent.Doc();
    const std::string &text = doc.Text();
    const std::string br = "\r\n";
    size_t at = text.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    for (const PageRegion &r : ScanPageStructure(text, doc.Encoding() == TextEncoding::Gbk).regions)
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
    std::string line = "<!--#include file=\"" + InEncodingOf(doc, includePath) + "\"-->" + br;
    if (at > 0 && !IsBreak(text[at - 1]))
        line = br + line;
    EditDocumentText(parent, {at, {}, std::move(line)});
}

void PlaceProcedure(TreeNode &procedure, TreeNode &document, std::string text)
{
    TTreeRec &record = *procedure.Record();
    Document &doc = *document.Record()->Doc;
    // The procedure ends its own line, so that what follows it in the file
    // starts a line of its own.
    if (!text.empty() && !IsBreak(text.back()))
        text += "\r\n";
    doc.BeginUndoStep({});
    const size_t place = PlaceForNewProcedure(document);
    doc.Apply({place, {}, text});
    doc.EndUndoStep();
    if (record.Doc && record.Range != kNoRange)
        record.Doc->Ranges().Remove(record.Range);
    record.Doc = document.Record()->Doc;
    record.Range = doc.Ranges().Add({place, place + text.size()});
    document.Record()->Edited = true;
}

bool RemoveProcedureText(TreeNode &procedure)
{
    TTreeRec *record = procedure.Record();
    if (!record || !record->Doc || record->Range == kNoRange)
        return false;
    Document &doc = *record->Doc;
    const TextRange r = doc.Ranges().At(record->Range);
    doc.EndUndoStep();
    doc.Apply({r.begin, doc.Text().substr(r.begin, r.Length()), {}});
    doc.EndUndoStep();
    if (TreeNode *parent = procedure.Parent(); parent && parent->Record())
        parent->Record()->Edited = true;
    return true;
}

bool MoveNodeWithText(ProjectTree &tree, TreeNode *node, TreeNode *target)
{
    if (!node || !target || node == target || target->IsInside(node) || !target->Record())
        return false;
    if (node->IsDocument() && node->Parent())
        RemoveIncludeDirective(*node);
    // A procedure's bytes leave its old file and join the new one, in the
    // new file's encoding.
    std::string procedureText;
    if (!node->IsDocument() && node->Record()) {
        procedureText = std::string(node->Text());
        if (node->Encoding() != target->Encoding())
            procedureText = target->Encoding() == TextEncoding::Utf8 ? GbkToUtf8(procedureText)
                                                                     : Utf8ToGbk(procedureText);
        RemoveProcedureText(*node);
    }
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
        PlaceProcedure(*node, *target, std::move(procedureText));
    }
    return true;
}

}  // namespace qasp
