#include "project/declaration_lookup.h"

#include "project/file_lines.h"
#include "project/include_path.h"
#include "project/node_script.h"
#include "project/project_tree.h"
#include "site/include_directive.h"
#include "text/byte_string.h"
#include "text/gbk_codec.h"

#include <algorithm>
#include <array>

namespace qasp {
namespace {

// Bytes of a name: ASCII word characters, and the bytes of a Chinese name.
bool IsNameByte(unsigned char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'
           || c >= 0x80;
}

bool IsGbk(const TreeNode &node)
{
    return node.Encoding() == TextEncoding::Gbk;
}

std::string Utf8Of(const TreeNode &node, std::string_view bytes)
{
    return IsGbk(node) ? GbkToUtf8(bytes) : std::string(bytes);
}

// Reads declarations from the server code of one node, statement by
// statement, and stops at the first that declares the name looked for.
class DeclarationReader {
public:
    DeclarationReader(const TreeNode &node, std::string_view code, std::string_view name)
        : node_(node),
          code_(code),
          name_(name)
    {
    }

    std::optional<std::size_t> Find()
    {
        while (at_ < code_.size()) {
            if (const auto found = Statement())
                return found;
            SkipToNextStatement();
        }
        return std::nullopt;
    }

private:
    void SkipBlanks()
    {
        while (at_ < code_.size() && (code_[at_] == ' ' || code_[at_] == '\t'))
            ++at_;
    }

    std::string_view Word()
    {
        SkipBlanks();
        const std::size_t begin = at_;
        while (at_ < code_.size() && IsNameByte(static_cast<unsigned char>(code_[at_])))
            ++at_;
        return code_.substr(begin, at_ - begin);
    }

    bool Matches(std::string_view word) const
    {
        if (word.empty())
            return false;
        const bool ascii = std::all_of(word.begin(), word.end(), [](char c) { return c >= 0; });
        return EqualsNoCase(ascii ? std::string(word) : Utf8Of(node_, word), name_);
    }

    std::optional<std::size_t> Named()
    {
        const std::string_view word = Word();
        if (Matches(word))
            return at_ - word.size();
        return std::nullopt;
    }

    // "a, b(10), c" or "A = 1, B = "x, y"": the name at the start of each
    // item, items split at commas outside brackets and strings.
    std::optional<std::size_t> NameList()
    {
        for (;;) {
            if (const auto found = Named())
                return found;
            int depth = 0;
            bool quoted = false;
            for (; at_ < code_.size(); ++at_) {
                const char c = code_[at_];
                if (c == '"')
                    quoted = !quoted;
                else if (quoted)
                    continue;
                else if (c == '(')
                    ++depth;
                else if (c == ')')
                    --depth;
                else if ((c == ',' && depth <= 0) || c == ':' || c == '\'' || c == '\n')
                    break;
            }
            if (at_ >= code_.size() || code_[at_] != ',')
                return std::nullopt;
            ++at_;
        }
    }

    std::optional<std::size_t> Statement()
    {
        std::string word = LowerAscii(Word());
        if (word == "public" || word == "private") {
            const std::size_t back = at_;
            word = LowerAscii(Word());
            if (word == "default")
                word = LowerAscii(Word());
            if (word != "function" && word != "sub" && word != "property" && word != "const"
                && word != "class") {
                at_ = back;
                return NameList();
            }
        }
        if (word == "dim" || word == "const")
            return NameList();
        if (word == "property")
            Word();  // Get, Let or Set
        if (word == "class")
            return Named();
        if (word == "function" || word == "sub" || word == "property") {
            if (const auto found = Named())
                return found;
            return Parameters();
        }
        return std::nullopt;
    }

    // "(ByVal a, b)" after a procedure's name.
    std::optional<std::size_t> Parameters()
    {
        SkipBlanks();
        if (at_ >= code_.size() || code_[at_] != '(')
            return std::nullopt;
        ++at_;
        for (;;) {
            std::string_view word = Word();
            const std::string lower = LowerAscii(word);
            if (lower == "byval" || lower == "byref")
                word = Word();
            if (Matches(word))
                return at_ - word.size();
            while (at_ < code_.size() && code_[at_] != ',' && code_[at_] != ')' && code_[at_] != '\n')
                ++at_;
            if (at_ >= code_.size() || code_[at_] != ',')
                return std::nullopt;
            ++at_;
        }
    }

    // On to after the next ':' or line break outside a string; a comment
    // runs to the line's end.
    void SkipToNextStatement()
    {
        bool quoted = false;
        for (; at_ < code_.size(); ++at_) {
            const char c = code_[at_];
            if (c == '"')
                quoted = !quoted;
            else if (c == '\n' || (!quoted && c == ':')) {
                ++at_;
                return;
            } else if (!quoted && c == '\'') {
                at_ = code_.find('\n', at_);
                if (at_ == std::string_view::npos)
                    at_ = code_.size();
            }
        }
    }

    const TreeNode &node_;
    std::string_view code_;
    std::string_view name_;
    std::size_t at_ = 0;
};

// Every node of the tree in pre-order.
template <typename F> bool ForEachNode(ProjectTree &tree, F f)
{
    for (TreeNode *n = tree.FirstTopLevel(); n; n = tree.NextInPreOrder(n))
        if (f(n))
            return true;
    return false;
}

}  // namespace

NameBounds NameAt(std::string_view line, std::size_t offset)
{
    offset = std::min(offset, line.size());
    std::size_t begin = offset, end = offset;
    while (begin > 0 && IsNameByte(static_cast<unsigned char>(line[begin - 1])))
        --begin;
    while (end < line.size() && IsNameByte(static_cast<unsigned char>(line[end])))
        ++end;
    // A name never starts with a digit: "12" is a number.
    if (begin < end && line[begin] >= '0' && line[begin] <= '9')
        return {offset, offset};
    return {begin, end};
}

std::optional<std::size_t> DeclarationOffsetIn(const TreeNode &node, std::string_view name)
{
    if (name.empty())
        return std::nullopt;
    // A document's own declarations are its page-level code's: a procedure's
    // locals are found through the procedure's node.
    const std::string code =
        node.IsDocument() ? ScriptMaskOfNode(node, PageLevelText(node)) : ScriptMaskOfNode(node, node.Text());
    return DeclarationReader(node, code, name).Find();
}

std::optional<NodePlace> FindDeclaration(ProjectTree &tree, TreeNode &from, std::string_view name)
{
    const std::string wanted = Utf8Of(from, name);
    if (wanted.empty())
        return std::nullopt;
    std::optional<NodePlace> place;
    const auto look = [&](TreeNode *node) {
        if (node->IsRepeat() || !node->Record())
            return false;
        if (const auto at = DeclarationOffsetIn(*node, wanted)) {
            const std::string_view text = node->Text();
            std::size_t end = *at;
            while (end < text.size() && IsNameByte(static_cast<unsigned char>(text[end])))
                ++end;
            place = NodePlace{node, *at, end - *at};
            return true;
        }
        return false;
    };
    // The node in hand, then the other nodes of its file.
    TreeNode *self = &from;
    if (from.IsRepeat())
        self = const_cast<TreeNode *>(FileDocumentOf(from));
    if (look(self))
        return place;
    TreeNode *document = const_cast<TreeNode *>(FileDocumentOf(*self));
    if (document) {
        if (document != self && look(document))
            return place;
        for (const auto &child : document->Children())
            if (!child->IsDocument() && child.get() != self && look(child.get()))
                return place;
    }
    ForEachNode(tree, [&](TreeNode *node) {
        if (node == self || node == document
            || (document && node->Parent() == document && !node->IsDocument()))
            return false;
        return look(node);
    });
    return place;
}

TreeNode *IncludedDocumentAt(ProjectTree &tree, TreeNode &from, std::string_view line, std::size_t offset)
{
    if (!from.IsDocument())
        return nullptr;
    const bool gbk = IsGbk(from);
    for (std::size_t at = line.find("<!--"); at != std::string_view::npos; at = line.find("<!--", at + 1)) {
        if (at > offset)
            break;
        const IncludeReading reading = ReadIncludeDirective(line, at, gbk);
        if (reading.outcome != IncludeReading::Outcome::Directive || offset >= reading.end)
            continue;
        const std::string_view path = line.substr(reading.pathBegin, reading.pathEnd - reading.pathBegin);
        const std::string shown = DocumentDisplayName(gbk ? std::string(path) : Utf8ToGbk(path));
        // The included document is a child of the one holding the line; a
        // repeated inclusion has its children at its first node.
        const TreeNode *owner = FileDocumentOf(from);
        for (const TreeNode *holder : std::array<const TreeNode *, 2>{&from, owner}) {
            if (!holder)
                continue;
            for (const auto &child : holder->Children())
                if (child->IsDocument() && child->DisplayText() == shown)
                    return child.get();
        }
        TreeNode *found = nullptr;
        ForEachNode(tree, [&](TreeNode *node) {
            if (node->IsDocument() && EqualsNoCase(node->DisplayText(), shown))
                found = node;
            return found != nullptr;
        });
        return found;
    }
    return nullptr;
}

}  // namespace qasp
