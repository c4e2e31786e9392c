#include "project/document_assembly.h"

#include "site/page_structure.h"

#include <algorithm>

namespace qasp {

std::vector<const TreeNode *> ProceduresInFileOrder(const TreeNode &document)
{
    std::vector<const TreeNode *> procedures;
    const Document *doc = document.Doc();
    for (const auto &child : document.Children())
        if (const TTreeRec *r = child->Record();
            !child->IsDocument() && r && r->Doc.get() == doc && r->Range != kNoRange)
            procedures.push_back(child.get());
    std::stable_sort(procedures.begin(), procedures.end(), [](const TreeNode *a, const TreeNode *b) {
        return a->Record()->Begin() < b->Record()->Begin();
    });
    return procedures;
}

std::string FileBytesOf(const TreeNode &document)
{
    const Document *doc = document.Doc();
    return doc ? doc->FileBytes() : std::string();
}

std::string TextOutsideProcedures(const TreeNode &document)
{
    const std::string_view text = document.Text();
    std::string out;
    out.reserve(text.size());
    size_t at = 0;
    for (const TreeNode *p : ProceduresInFileOrder(document)) {
        const TextRange r = document.Doc()->Ranges().At(p->Record()->Range);
        if (r.begin < at)
            continue;  // a range inside one already left out
        out.append(text.substr(at, r.begin - at));
        at = r.end;
    }
    out.append(text.substr(std::min(at, text.size())));
    return out;
}

void SetNodeText(TreeNode &node, std::string_view text)
{
    EditNodeText(node, DiffTexts(node.Text(), text));
}

bool EditNodeText(TreeNode &node, const TextEdit &edit, Document::Joining joining)
{
    TTreeRec *record = node.Record();
    if (!record || !record->Doc)
        return false;
    TextEdit inDocument = edit;
    inDocument.offset += record->Begin();
    return record->Doc->Apply(inDocument, record->Range, joining);
}

std::size_t PlaceForNewProcedure(TreeNode &document)
{
    TTreeRec &record = *document.Record();
    Document &doc = *record.Doc;
    const std::string &text = doc.Text();
    const bool gbk = doc.Encoding() == TextEncoding::Gbk;
    const PageStructure page =
        IsVBScriptFile(record.SourceFile) ? ScanScriptFileStructure(text, gbk) : ScanPageStructure(text, gbk);
    const auto last = std::find_if(page.regions.rbegin(), page.regions.rend(), [](const PageRegion &r) {
        return r.kind == RegionKind::Script || r.kind == RegionKind::ServerScript;
    });
    constexpr std::string_view br = "\r\n";
    if (last == page.regions.rend()) {
        // A page without script gets a block of its own at its end.
        std::string block;
        if (!text.empty() && text.back() != '\n' && text.back() != '\r')
            block += br;
        block += "<%";
        block += br;
        const std::size_t place = text.size() + block.size();
        block += "%>";
        block += br;
        doc.Apply({text.size(), {}, block});
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
    doc.Apply({place, {}, std::string(br)});
    return place + br.size();
}

}  // namespace qasp
