#include "project/project_matches.h"

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

void MatchesInNode(TreeNode *node, std::string_view search, std::vector<ProjectMatch> &out)
{
    const TTreeRec *record = node->Record();
    if (!record || node->IsRepeat())
        return;
    const TextEncoding encoding = record->Encoding;
    const std::string key =
        LowerAscii(encoding == TextEncoding::Gbk ? Utf8ToGbk(search) : std::string(search));
    if (key.empty())
        return;
    const std::string text = LowerAscii(node->Text());
    std::vector<int> lines;
    const TreeNode *document = FileDocumentOf(*node);
    std::size_t boundary = 0, rowStart = 0;
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
        if (lines.empty())
            lines = FileLinesOfRows(*node);
        std::size_t rowEnd = node->Text().find('\n', rowStart);
        if (rowEnd == std::string::npos)
            rowEnd = node->Text().size();
        if (rowEnd > rowStart && node->Text()[rowEnd - 1] == '\r')
            --rowEnd;
        const std::string_view line = std::string_view(node->Text()).substr(rowStart, rowEnd - rowStart);
        ProjectMatch match;
        match.node = node;
        match.offset = at;
        match.length = key.size();
        match.row = row;
        match.fileLine = lines[static_cast<std::size_t>(row)];
        match.document = document ? document->DisplayText() : node->DisplayText();
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
        MatchesInNode(n, search, matches);
    return matches;
}

}  // namespace qasp
