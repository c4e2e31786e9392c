#include "site/procedure_scan.h"

#include "site/page_text.h"
#include "text/byte_string.h"
#include "text/gbk_codec.h"

#include <optional>
#include <utility>

namespace qasp {
namespace {

// What an End closes.
enum class Block { Function, Sub, Property, Class };

Block BlockOf(ProcedureKind kind)
{
    switch (kind) {
    case ProcedureKind::Function: return Block::Function;
    case ProcedureKind::Sub: return Block::Sub;
    case ProcedureKind::Class: return Block::Class;
    default: return Block::Property;
    }
}

const char *EndText(Block block)
{
    switch (block) {
    case Block::Function: return "End Function";
    case Block::Sub: return "End Sub";
    case Block::Property: return "End Property";
    default: return "End Class";
    }
}

const char *KeywordText(Block block)
{
    return EndText(block) + 4;
}

const char *KindText(ProcedureKind kind)
{
    switch (kind) {
    case ProcedureKind::Function: return "Function";
    case ProcedureKind::Sub: return "Sub";
    case ProcedureKind::Class: return "Class";
    case ProcedureKind::PropertyGet: return "Property Get";
    case ProcedureKind::PropertyLet: return "Property Let";
    default: return "Property Set";
    }
}

std::optional<Block> BlockWord(std::string_view word)
{
    if (EqualsNoCase(word, "function"))
        return Block::Function;
    if (EqualsNoCase(word, "sub"))
        return Block::Sub;
    if (EqualsNoCase(word, "property"))
        return Block::Property;
    if (EqualsNoCase(word, "class"))
        return Block::Class;
    return std::nullopt;
}

class ProcedureScanner {
public:
    ProcedureScanner(std::string_view page, bool gbk, const LineIndex &lines, PageStructure &s)
        : page_(page),
          gbk_(gbk),
          lines_(lines),
          s_(s)
    {
    }

    void Code(size_t from, size_t to);
    void Finish();

private:
    struct Open {
        ProcedureKind kind;
        std::string name, head;
        size_t first, begin;  // the head's first word; where the range begins
    };

    size_t Statement(size_t i, size_t to);
    void Head(ProcedureKind kind, size_t first, size_t nameBegin, size_t nameEnd, size_t to);
    void End(Block block, size_t at, size_t after, size_t to);
    void Unterminated(const Open &p);
    void Problem(PageProblemKind kind, size_t offset, std::string message);
    size_t Word(size_t i) const { return WordEnd(page_, i, gbk_); }
    size_t StringEnd(size_t i, size_t to) const;
    size_t CommentEnd(size_t i, size_t to) const;
    std::string Utf8(std::string_view text) const { return gbk_ ? GbkToUtf8(text) : std::string(text); }

    std::string_view page_;
    bool gbk_;
    const LineIndex &lines_;
    PageStructure &s_;
    std::optional<Open> class_;
    std::optional<Open> member_;  // a procedure of class_, or one outside any class
};

// The quote at i opens a string: it ends after its closing quote or, unclosed,
// at the line's end.
size_t ProcedureScanner::StringEnd(size_t i, size_t to) const
{
    for (++i; i < to && !IsLineBreakByte(page_[i]);) {
        if (page_[i] == '"') {
            if (i + 1 < to && page_[i + 1] == '"') {
                i += 2;
                continue;
            }
            return i + 1;
        }
        i += PageCharLength(page_, i, gbk_);
    }
    return i;
}

size_t ProcedureScanner::CommentEnd(size_t i, size_t to) const
{
    while (i < to && !IsLineBreakByte(page_[i]))
        i += PageCharLength(page_, i, gbk_);
    return i;
}

void ProcedureScanner::Code(size_t from, size_t to)
{
    bool statementStart = true;
    bool continued = false;  // the line so far ends in " _"
    size_t i = from;
    while (i < to) {
        const char c = page_[i];
        if (IsLineBreakByte(c)) {
            i += LineBreakLength(page_, i);
            statementStart = statementStart || !continued;
            continued = false;
            continue;
        }
        if (IsInlineBlank(c)) {
            ++i;
            continue;
        }
        if (statementStart) {
            statementStart = false;
            continued = false;
            if (IsWordByte(c)) {
                i = Statement(i, to);
                continue;
            }
        }
        if (c == '"') {
            i = StringEnd(i, to);
            continued = false;
        } else if (c == '\'') {
            i = CommentEnd(i, to);
        } else if (c == ':') {
            statementStart = true;
            ++i;
        } else if (IsWordByte(c)) {
            const size_t e = Word(i);
            continued = e == i + 1 && c == '_';
            i = e;
        } else {
            continued = false;
            i += PageCharLength(page_, i, gbk_);
        }
    }
}

// The statement whose first word starts at i: a head or an End of a
// procedure, or anything else. Returns where the plain walk goes on.
size_t ProcedureScanner::Statement(size_t i, size_t to)
{
    const size_t first = i;
    size_t e = Word(i);
    std::string_view word = page_.substr(i, e - i);
    if (EqualsNoCase(word, "rem"))
        return CommentEnd(i, to);
    if (EqualsNoCase(word, "end")) {
        const size_t k = SkipInlineBlanks(page_, e, to);
        const size_t ke = Word(k);
        if (const auto block = BlockWord(page_.substr(k, ke - k))) {
            End(*block, first, ke, to);
            return ke;
        }
        return e;
    }
    const auto next = [&] {
        i = SkipInlineBlanks(page_, e, to);
        e = Word(i);
        word = page_.substr(i, e - i);
    };
    if (EqualsNoCase(word, "public") || EqualsNoCase(word, "private")) {
        next();
        if (EqualsNoCase(word, "default"))
            next();
    }
    const auto block = BlockWord(word);
    if (!block)
        return e;
    ProcedureKind kind = *block == Block::Function ? ProcedureKind::Function
                         : *block == Block::Sub    ? ProcedureKind::Sub
                                                   : ProcedureKind::Class;
    if (*block == Block::Property) {
        next();
        if (EqualsNoCase(word, "get"))
            kind = ProcedureKind::PropertyGet;
        else if (EqualsNoCase(word, "let"))
            kind = ProcedureKind::PropertyLet;
        else if (EqualsNoCase(word, "set"))
            kind = ProcedureKind::PropertySet;
        else
            return e;
    }
    // The name: a word not starting with a digit, or a [bracketed name].
    const size_t nameBegin = SkipInlineBlanks(page_, e, to);
    size_t nameEnd = nameBegin;
    if (nameBegin < to && page_[nameBegin] == '[') {
        size_t close = nameBegin + 1;
        while (close < to && page_[close] != ']' && !IsLineBreakByte(page_[close]))
            close += PageCharLength(page_, close, gbk_);
        if (close < to && page_[close] == ']')
            nameEnd = close + 1;
    } else if (nameBegin < to && !(page_[nameBegin] >= '0' && page_[nameBegin] <= '9')) {
        nameEnd = Word(nameBegin);
    }
    if (nameEnd == nameBegin)
        return e;
    Head(kind, first, nameBegin, nameEnd, to);
    return nameEnd;
}

void ProcedureScanner::Head(ProcedureKind kind, size_t first, size_t nameBegin, size_t nameEnd, size_t to)
{
    // The head's text is its statement: up to the line's end, a ':' or a
    // comment. (Stopping at ':' also keeps a line of heads linear.)
    size_t end = nameEnd;
    while (end < to && !IsLineBreakByte(page_[end]) && page_[end] != '\'' && page_[end] != ':')
        end = page_[end] == '"' ? StringEnd(end, to) : end + PageCharLength(page_, end, gbk_);
    size_t begin = first;
    while (begin > 0 && IsInlineBlank(page_[begin - 1]))
        --begin;
    if (begin > 0 && !IsLineBreakByte(page_[begin - 1]))
        begin = first;
    Open open{kind, std::string(page_.substr(nameBegin, nameEnd - nameBegin)),
              TrimRight(page_.substr(first, end - first)), first, begin};

    // VBScript nests nothing but members in a class: a head inside another
    // procedure means that procedure's End is missing.
    if (kind == ProcedureKind::Class) {
        if (member_)
            Unterminated(*std::exchange(member_, std::nullopt));
        if (class_)
            Unterminated(*class_);
        class_ = std::move(open);
    } else {
        if (member_)
            Unterminated(*member_);
        member_ = std::move(open);
    }
}

void ProcedureScanner::End(Block block, size_t at, size_t after, size_t to)
{
    // The range takes the End's line break when only blanks and a comment follow.
    size_t j = SkipInlineBlanks(page_, after, to);
    if (j < to && (page_[j] == '\'' || WholeWordAt(page_, j, "rem")))
        j = CommentEnd(j, to);
    size_t end = after;
    if (j < to && IsLineBreakByte(page_[j]))
        end = j + LineBreakLength(page_, j);
    else if (j == page_.size())
        end = j;

    std::optional<Open> closed;
    if (block == Block::Class) {
        if (!class_) {
            Problem(PageProblemKind::UnmatchedEnd, at, "End Class 前面没有对应的 Class");
            return;
        }
        if (member_)
            Unterminated(*std::exchange(member_, std::nullopt));
        closed = std::exchange(class_, std::nullopt);
    } else {
        if (!member_) {
            Problem(PageProblemKind::UnmatchedEnd, at,
                    std::string(EndText(block)) + " 前面没有对应的 " + KeywordText(block));
            return;
        }
        if (BlockOf(member_->kind) != block)
            Problem(PageProblemKind::MismatchedEnd, at,
                    std::string(KindText(member_->kind)) + " " + Utf8(member_->name) + " 以 " + EndText(block)
                        + " 结束，应为 " + EndText(BlockOf(member_->kind)));
        closed = std::exchange(member_, std::nullopt);
        if (class_)
            return;  // a member is part of its class
    }
    s_.procedures.push_back({closed->kind, std::move(closed->name), std::move(closed->head), closed->begin,
                             end, lines_.LineOf(closed->first)});
}

void ProcedureScanner::Unterminated(const Open &p)
{
    Problem(PageProblemKind::UnterminatedProcedure, p.first,
            std::string(KindText(p.kind)) + " " + Utf8(p.name) + " 没有对应的 " + EndText(BlockOf(p.kind))
                + "，不作为过程列出");
}

void ProcedureScanner::Problem(PageProblemKind kind, size_t offset, std::string message)
{
    s_.problems.push_back({kind, offset, lines_.LineOf(offset), std::move(message)});
}

void ProcedureScanner::Finish()
{
    if (member_)
        Unterminated(*member_);
    if (class_)
        Unterminated(*class_);
}

}  // namespace

void ScanProcedures(std::string_view page, bool gbk, const LineIndex &lines, PageStructure &s)
{
    ProcedureScanner scanner(page, gbk, lines, s);
    for (const PageRegion &r : s.regions)
        if (r.kind == RegionKind::Script || r.kind == RegionKind::ServerScript)
            scanner.Code(r.codeBegin, r.codeEnd);
    scanner.Finish();
}

}  // namespace qasp
