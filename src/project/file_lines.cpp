#include "project/file_lines.h"

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

int FirstFileLineOf(const TreeNode &node)
{
    const TTreeRec *record = node.Record();
    if (!record || record->Range == kNoRange || !record->Doc)
        return 1;
    const std::string_view before = std::string_view(record->Doc->Text()).substr(0, record->Begin());
    return 1 + Breaks(before);
}

NodeRow NodeRowOfFileLine(const TreeNode &document, int line)
{
    const TreeNode *owner = FileDocumentOf(document);
    if (!owner || line < 1 || line > FileLineCount(*owner))
        return {};
    return {owner, line - 1};
}

FilePosition FilePositionOf(const TreeNode &node, int row, std::string_view rowText, std::size_t byteColumn)
{
    const std::size_t column = std::min(byteColumn, rowText.size());
    return {FirstFileLineOf(node) + row,
            static_cast<int>(CharacterCount(node.Encoding(), rowText.substr(0, column))) + 1};
}

int FileLineCount(const TreeNode &document)
{
    const TreeNode *owner = FileDocumentOf(document);
    return owner ? 1 + Breaks(owner->Text()) : 0;
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
