#include "project/document_assembly.h"

#include "document/edit_history.h"
#include "site/page_structure.h"
#include "text/line_breaks.h"

#include <algorithm>

namespace qasp {
namespace {

// Where a place `anchor` goes when bytes [offset, offset + removed) became
// `inserted` bytes.
std::size_t Shifted(std::size_t anchor, const TextEdit &edit)
{
    if (anchor <= edit.offset)
        return anchor;
    if (anchor >= edit.offset + edit.removed.size())
        return anchor - edit.removed.size() + edit.inserted.size();
    return edit.offset;
}

}  // namespace

std::vector<const TreeNode *> ProceduresInFileOrder(const TreeNode &document)
{
    std::vector<const TreeNode *> procedures;
    for (const auto &child : document.Children())
        if (!child->IsDocument() && child->Record() && child->Record()->Anchor)
            procedures.push_back(child.get());
    std::stable_sort(procedures.begin(), procedures.end(), [](const TreeNode *a, const TreeNode *b) {
        const TTreeRec &ra = *a->Record(), &rb = *b->Record();
        return *ra.Anchor != *rb.Anchor ? *ra.Anchor < *rb.Anchor : ra.Rank < rb.Rank;
    });
    return procedures;
}

std::string AssembleDocument(const TreeNode &document)
{
    const std::string &text = document.Text();
    const std::vector<const TreeNode *> procedures = ProceduresInFileOrder(document);
    std::size_t size = text.size();
    for (const TreeNode *p : procedures)
        size += p->Text().size();
    std::string out;
    out.reserve(size);
    std::size_t at = 0;
    for (const TreeNode *p : procedures) {
        const std::size_t anchor = std::min(*p->Record()->Anchor, text.size());
        out.append(text, at, anchor - at);
        out += p->Text();
        at = anchor;
    }
    out.append(text, at, std::string::npos);
    return out;
}

std::string FileBytesOf(const TreeNode &document)
{
    const TTreeRec *record = document.Record();
    const std::string text = AssembleDocument(document);
    if (!record || !record->LoadedBytes)
        return record && record->LineBreaks != LineEnds::CrLf
                   ? RestoreLineBreaks(text, {}, record->LineBreaks)
                   : text;
    return RestoreLineBreaks(text, *record->LoadedBytes, record->LineBreaks);
}

void ShiftProcedureAnchors(TreeNode &document, const TextEdit &edit)
{
    if (edit.removed.empty() && edit.inserted.empty())
        return;
    for (const auto &child : document.Children())
        if (TTreeRec *r = child->Record(); r && !child->IsDocument() && r->Anchor)
            r->Anchor = Shifted(*r->Anchor, edit);
}

void SetNodeText(TreeNode &node, std::string text)
{
    TTreeRec *record = node.Record();
    if (!record)
        return;
    if (node.IsDocument() && !node.Children().empty())
        ShiftProcedureAnchors(node, DiffTexts(record->Text, text));
    record->Text = std::move(text);
}

void EditNodeText(TreeNode &node, const TextEdit &edit)
{
    TTreeRec *record = node.Record();
    if (!record || !ApplyEdit(record->Text, edit))
        return;
    if (node.IsDocument())
        ShiftProcedureAnchors(node, edit);
}

std::size_t PlaceForNewProcedure(TreeNode &document)
{
    TTreeRec &record = *document.Record();
    const std::string &text = record.Text;
    const bool gbk = record.Encoding == TextEncoding::Gbk;
    const PageStructure page =
        IsVBScriptFile(record.SourceFile) ? ScanScriptFileStructure(text, gbk) : ScanPageStructure(text, gbk);
    const auto last = std::find_if(page.regions.rbegin(), page.regions.rend(), [](const PageRegion &r) {
        return r.kind == RegionKind::Script || r.kind == RegionKind::ServerScript;
    });
    constexpr std::string_view br = "\r\n";
    if (last == page.regions.rend()) {
        // A page without script gets a block of its own at its end.
        std::string grown = text;
        if (!grown.empty() && grown.back() != '\n' && grown.back() != '\r')
            grown += br;
        grown += "<%";
        grown += br;
        const std::size_t place = grown.size();
        grown += "%>";
        grown += br;
        SetNodeText(document, std::move(grown));
        return place;
    }
    // The start of the closing line when nothing but blanks stands before
    // the delimiter on it.
    std::size_t place = last->codeEnd;
    std::size_t lineStart = place;
    while (lineStart > last->codeBegin && (text[lineStart - 1] == ' ' || text[lineStart - 1] == '\t'))
        --lineStart;
    if (lineStart > last->codeBegin && (text[lineStart - 1] == '\n' || text[lineStart - 1] == '\r'))
        return lineStart;
    // Code and "%>" share the line: the procedure gets a line of its own.
    std::string split = text;
    split.insert(place, br);
    SetNodeText(document, std::move(split));
    return place + br.size();
}

int NextRankAt(const TreeNode &document, std::size_t anchor)
{
    int rank = 0;
    for (const auto &child : document.Children())
        if (const TTreeRec *r = child->Record(); r && !child->IsDocument() && r->Anchor == anchor)
            rank = std::max(rank, r->Rank + 1);
    return rank;
}

}  // namespace qasp
