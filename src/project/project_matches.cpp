#include "project/project_matches.h"

#include "project/document_assembly.h"
#include "project/file_lines.h"
#include "project/project_tree.h"
#include "text/byte_string.h"
#include "text/gbk.h"
#include "text/gbk_codec.h"

#include <algorithm>

namespace qasp {
namespace {

std::size_t CharLength(TextEncoding encoding, std::string_view text, std::size_t at)
{
    if (encoding == TextEncoding::Gbk)
        return GbkCharLength(text, at);
    std::size_t length = 1;
    while (at + length < text.size() && (static_cast<unsigned char>(text[at + length]) & 0xC0) == 0x80)
        ++length;
    return length;
}

// The matches in the file of `document`; each is given to the procedure
// whose block holds it (offset and row in that procedure's text), else to
// the document.
void MatchesInDocument(TreeNode *document, std::string_view search, std::vector<ProjectMatch> &out)
{
    if (!document->Doc() || document->IsRepeat() || !document->IsDocument())
        return;
    const TextEncoding encoding = document->Encoding();
    const std::string key =
        LowerAscii(encoding == TextEncoding::Gbk ? Utf8ToGbk(search) : std::string(search));
    if (key.empty())
        return;
    const std::string_view original = document->Text();
    const std::string text = LowerAscii(original);
    std::vector<TreeNode *> procedures;
    for (const TreeNode *p : ProceduresInFileOrder(*document))
        procedures.push_back(const_cast<TreeNode *>(p));
    std::size_t boundary = 0, rowStart = 0, nextProcedure = 0;
    int row = 0;
    for (std::size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + 1)) {
        while (boundary < at)
            boundary += CharLength(encoding, text, boundary);
        if (boundary != at)
            continue;
        for (std::size_t br; (br = text.find('\n', rowStart)) != std::string::npos && br < at;) {
            rowStart = br + 1;
            ++row;
        }
        std::size_t rowEnd = original.find('\n', rowStart);
        if (rowEnd == std::string_view::npos)
            rowEnd = original.size();
        if (rowEnd > rowStart && original[rowEnd - 1] == '\r')
            --rowEnd;
        const std::string_view line = original.substr(rowStart, rowEnd - rowStart);
        ProjectMatch match;
        match.node = document;
        match.offset = at;
        match.length = key.size();
        match.row = row;
        match.fileLine = row + 1;
        while (nextProcedure < procedures.size()
               && procedures[nextProcedure]->Record()->Begin() + procedures[nextProcedure]->Text().size()
                      <= at)
            ++nextProcedure;
        if (nextProcedure < procedures.size() && procedures[nextProcedure]->Record()->Begin() <= at) {
            TreeNode *p = procedures[nextProcedure];
            match.node = p;
            match.offset = at - p->Record()->Begin();
            match.row = row + 1 - FirstFileLineOf(*p);
        }
        match.document = document->DisplayText();
        match.lineText = Trim(encoding == TextEncoding::Gbk ? GbkToUtf8(line) : std::string(line));
        out.push_back(std::move(match));
        // Matches do not overlap: "aa" is found twice in "aaaa", not three times.
        at += key.size() - 1;
    }
}

}  // namespace

std::vector<ProjectMatch> FindAllInProject(ProjectTree &tree, std::string_view search)
{
    std::vector<ProjectMatch> matches;
    if (search.empty())
        return matches;
    for (TreeNode *n = tree.FirstTopLevel(); n; n = tree.NextInPreOrder(n))
        MatchesInDocument(n, search, matches);
    return matches;
}

}  // namespace qasp
