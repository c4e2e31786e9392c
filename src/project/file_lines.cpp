#include "project/file_lines.h"

#include "project/document_assembly.h"
#include "project/project_tree.h"
#include "text/gbk.h"

#include <algorithm>
#include <vector>

namespace qasp {
namespace {

int Breaks(std::string_view text)
{
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

// The first non-repeat node below `root` (itself included) that holds
// `record`, in pre-order; a list of its own, as includes may nest thousands
// deep.
const TreeNode *Owner(const TreeNode &root, const TTreeRec *record)
{
    std::vector<const TreeNode *> pending{&root};
    while (!pending.empty()) {
        const TreeNode *node = pending.back();
        pending.pop_back();
        if (!node->IsRepeat() && node->Record() == record)
            return node;
        const auto &children = node->Children();
        for (auto it = children.rbegin(); it != children.rend(); ++it)
            if ((*it)->IsDocument())
                pending.push_back(it->get());
    }
    return nullptr;
}

// The file line on which the procedure's text begins.
int FirstLineOfProcedure(const TreeNode &document, const TreeNode &procedure)
{
    const std::string &text = document.Text();
    const std::size_t anchor = std::min(*procedure.Record()->Anchor, text.size());
    int line = 1 + Breaks(std::string_view(text).substr(0, anchor));
    for (const TreeNode *p : ProceduresInFileOrder(document)) {
        if (p == &procedure)
            break;
        line += Breaks(p->Text());
    }
    return line;
}

}  // namespace

const TreeNode *FileDocumentOf(const TreeNode &node)
{
    const TreeNode *document = &node;
    while (document && !document->IsDocument())
        document = document->Parent();
    if (!document || !document->IsRepeat())
        return document;
    const TreeNode *top = document;
    while (top->Parent())
        top = top->Parent();
    const TreeNode *owner = Owner(*top, document->Record());
    return owner ? owner : document;
}

namespace {

// The file line of row `row` of `node`, which starts at `rowStart` in its
// text: the status bar asks on every move of the caret, so only the
// procedures are counted, not the rows above.
int LineOfRow(const TreeNode &node, int row, std::size_t rowStart)
{
    const TreeNode *document = FileDocumentOf(node);
    int rowLine = 1 + row;
    if (!node.IsDocument()) {
        // A procedure's rows are consecutive lines of its file.
        const TTreeRec *record = node.Record();
        if (document && record && record->Anchor)
            rowLine = FirstLineOfProcedure(*document, node) + row;
    } else if (document) {
        // Every procedure placed before the row's start, or right at it,
        // fills lines above it.
        for (const TreeNode *p : ProceduresInFileOrder(*document)) {
            if (*p->Record()->Anchor > rowStart)
                break;
            rowLine += Breaks(p->Text());
        }
    }
    return rowLine;
}

}  // namespace

std::vector<int> FileLinesOfRows(const TreeNode &node)
{
    const std::string &text = node.Text();
    std::vector<int> lines;
    const TreeNode *document = FileDocumentOf(node);
    const TTreeRec *record = node.Record();
    if (!node.IsDocument()) {
        // A procedure's rows are consecutive lines of its file.
        int line = 1;
        if (document && record && record->Anchor)
            line = FirstLineOfProcedure(*document, node);
        for (std::size_t at = 0;; ++line) {
            lines.push_back(line);
            at = text.find('\n', at);
            if (at == std::string::npos)
                break;
            ++at;
        }
        return lines;
    }
    // A document's rows, with the lines of each procedure counted where it
    // stands: before the row when placed at the row's start, after it when
    // placed inside the row.
    const std::vector<const TreeNode *> procedures =
        document ? ProceduresInFileOrder(*document) : std::vector<const TreeNode *>{};
    std::size_t next = 0;
    const auto passProceduresUpTo = [&](std::size_t offset, int &line) {
        for (; next < procedures.size() && *procedures[next]->Record()->Anchor <= offset; ++next)
            line += Breaks(procedures[next]->Text());
    };
    int line = 1;
    for (std::size_t rowStart = 0;;) {
        passProceduresUpTo(rowStart, line);
        lines.push_back(line);
        const std::size_t lineBreak = text.find('\n', rowStart);
        if (lineBreak == std::string::npos)
            break;
        passProceduresUpTo(lineBreak, line);
        ++line;
        rowStart = lineBreak + 1;
    }
    return lines;
}

NodeRow NodeRowOfFileLine(const TreeNode &document, int line)
{
    const TreeNode *owner = FileDocumentOf(document);
    if (!owner || line < 1)
        return {};
    // A procedure holds every line from its head to its End line.
    for (const TreeNode *p : ProceduresInFileOrder(*owner)) {
        const int first = FirstLineOfProcedure(*owner, *p);
        // A procedure's text ends after its End line's break: the line
        // after it belongs to the document.
        const std::string &text = p->Text();
        const int last = first + Breaks(text) - (!text.empty() && text.back() == '\n' ? 1 : 0);
        if (line >= first && line <= last)
            return {p, line - first};
    }
    const std::vector<int> lines = FileLinesOfRows(*owner);
    const auto at = std::lower_bound(lines.begin(), lines.end(), line);
    if (at == lines.end() || *at != line)
        return {};
    return {owner, static_cast<int>(at - lines.begin())};
}

namespace {

// The caret's place once its row's file line is known (`rowStart` is where
// the row starts in the node's text).
FilePosition PositionInRow(const TreeNode &node, int rowLine, std::size_t rowStart, std::string_view rowText,
                           std::size_t byteColumn)
{
    const TextEncoding encoding = node.Encoding();
    const std::size_t column = std::min(byteColumn, rowText.size());
    const TreeNode *document = node.IsDocument() ? FileDocumentOf(node) : nullptr;
    if (!document)
        return {rowLine, static_cast<int>(CharacterCount(encoding, rowText.substr(0, column))) + 1};

    // A document row can start on a procedure's last line ("End Sub %>")
    // and hold procedures inside it ("<% Sub Head() %> ... <% End Sub %>"):
    // the caret's file line is the row put back together with them.
    const std::string &text = node.Text();
    const std::size_t caret = rowStart + column;
    std::string before;  // the file's bytes from the row's procedures to the caret
    int breaksAfterStart = 0;
    std::size_t at = rowStart;
    for (const TreeNode *p : ProceduresInFileOrder(*document)) {
        const std::size_t anchor = *p->Record()->Anchor;
        if (anchor < rowStart || anchor > caret)
            continue;
        before.append(text, at, anchor - at);
        before += p->Text();
        if (anchor > rowStart)
            breaksAfterStart += Breaks(p->Text());
        at = anchor;
    }
    before.append(text, at, caret - at);
    const std::size_t lastBreak = before.rfind('\n');
    const std::string_view tail = lastBreak == std::string::npos
                                      ? std::string_view(before)
                                      : std::string_view(before).substr(lastBreak + 1);
    return {rowLine + breaksAfterStart, static_cast<int>(CharacterCount(encoding, tail)) + 1};
}

}  // namespace

FilePosition FilePositionOf(const TreeNode &node, int row, std::string_view rowText, std::size_t byteColumn)
{
    const std::string &text = node.Text();
    std::size_t rowStart = 0;
    for (int r = 0; r < row && rowStart != std::string::npos; ++r) {
        rowStart = text.find('\n', rowStart);
        if (rowStart != std::string::npos)
            ++rowStart;
    }
    if (row < 0 || rowStart == std::string::npos) {  // no such row
        const std::size_t column = std::min(byteColumn, rowText.size());
        return {row + 1, static_cast<int>(CharacterCount(node.Encoding(), rowText.substr(0, column))) + 1};
    }
    return PositionInRow(node, LineOfRow(node, row, rowStart), rowStart, rowText, byteColumn);
}

FilePosition FilePositionOf(const TreeNode &node, int row, std::size_t rowStart, std::string_view rowText,
                            std::size_t byteColumn)
{
    const std::string &text = node.Text();
    // A start that is no row's start (the caller's text and the node's
    // went apart) is found again from the top.
    if (row <= 0 || rowStart == 0 || rowStart > text.size() || text[rowStart - 1] != '\n')
        return FilePositionOf(node, row, rowText, byteColumn);
    return PositionInRow(node, LineOfRow(node, row, rowStart), rowStart, rowText, byteColumn);
}

int FileLineCount(const TreeNode &document)
{
    const TreeNode *owner = FileDocumentOf(document);
    if (!owner)
        return 0;
    int count = 1 + Breaks(owner->Text());
    for (const TreeNode *p : ProceduresInFileOrder(*owner))
        count += Breaks(p->Text());
    return count;
}

std::size_t CharacterCount(TextEncoding encoding, std::string_view bytes)
{
    std::size_t count = 0;
    if (encoding == TextEncoding::Utf8) {
        // Every byte but a continuation byte starts a character.
        for (const char c : bytes)
            count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        return count;
    }
    for (std::size_t at = 0; at < bytes.size(); at += GbkCharLength(bytes, at))
        ++count;
    return count;
}

}  // namespace qasp
