#include "editor/page_colouring.h"

#include "editor/char_classes.h"
#include "editor/key_type.h"
#include "editor/keyword_store.h"
#include "text/byte_string.h"
#include "text/gbk.h"

#include <string>

namespace qasp {

namespace {

// The colour of a word of VBScript: its row's key type in the store; words
// that start with a digit are numbers, plain.
ColourCategory CategoryOfWord(std::string_view word, const KeywordStore &store)
{
    if (word.empty() || IsDigitChar(static_cast<unsigned char>(word[0])))
        return ColourCategory::Default;
    std::string name(word);  // the store writes its spelling into it
    return CategoryOfKeyType(store.LookupKeyword(name));
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The first `needle` in `line` at or after a position, remembered: the walk
// only moves forward, so a search goes on from the last match instead of
// running to the line's end again for every quoted value or comment (which
// made a long line of them quadratic).
class NextMatch {
public:
    NextMatch(std::string_view line, std::string_view needle) : line_(line), needle_(needle) {}

    size_t From(size_t pos)
    {
        if (pos < searchedFrom_ || (found_ != std::string_view::npos && found_ < pos)) {
            found_ = line_.find(needle_, pos);
            searchedFrom_ = pos;
        }
        return found_;
    }

private:
    std::string_view line_;
    std::string_view needle_;
    size_t searchedFrom_ = std::string_view::npos;  // nothing searched yet
    size_t found_ = std::string_view::npos;
};

// The markers the walk looks for ('<', '%', '>', '"', '\'', '&', '=') are
// below 0x40: never the second byte of a GBK character nor part of a UTF-8
// sequence, so a plain byte search finds only real ones.
class LineColouring {
public:
    LineColouring(std::string_view line, PageState state, const KeywordStore &store, TextEncoding encoding,
                  std::vector<ColourSpan> &spans)
        : line_(line),
          state_(state),
          store_(store),
          gbk_(encoding == TextEncoding::Gbk),
          spans_(spans),
          serverOpen_(line, "<%"),
          commentClose_(line, "-->"),
          doubleQuote_(line, "\""),
          singleQuote_(line, "'")
    {
    }

    PageState Run()
    {
        while (pos_ < line_.size()) {
            if (state_.server) {
                ServerBlock();
                continue;
            }
            switch (state_.mode) {
            case PageMode::Html: HtmlText(); break;
            case PageMode::Tag: TagBody(); break;
            case PageMode::HtmlComment:
            case PageMode::IncludeComment: Comment(); break;
            case PageMode::ClientScript:
            case PageMode::ClientStyle: ClientContent(); break;
            case PageMode::ServerScript: ServerScript(); break;
            }
        }
        return state_;
    }

private:
    size_t CharLength(size_t i) const
    {
        if (gbk_)
            return GbkCharLength(line_, i);
        const auto c = static_cast<unsigned char>(line_[i]);
        const size_t n = c < 0xC0 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        return std::min(n, line_.size() - i);
    }

    void Emit(size_t from, size_t to, ColourCategory category)
    {
        if (to <= from)
            return;
        if (!spans_.empty() && spans_.back().category == category
            && spans_.back().start + spans_.back().length == from) {
            spans_.back().length += static_cast<uint32_t>(to - from);
            return;
        }
        spans_.push_back({static_cast<uint32_t>(from), static_cast<uint32_t>(to - from), category});
    }

    // "<%" at `at`: the delimiter, and "=" after it; "@" makes a directive.
    void EnterServer(size_t at)
    {
        size_t end = at + 2;
        if (end < line_.size() && line_[end] == '=')
            ++end;
        Emit(at, end, ColourCategory::Delimiter);
        state_.server = true;
        state_.directive = end < line_.size() && line_[end] == '@';
        pos_ = end;
    }

    void ServerBlock()
    {
        size_t close = std::string_view::npos;
        if (state_.directive) {
            close = line_.find("%>", pos_);
            Emit(pos_, close == std::string_view::npos ? line_.size() : close, ColourCategory::Directive);
        } else {
            close = VBScript(pos_, line_.size(), true);
        }
        pos_ = close == std::string_view::npos ? line_.size() : close;
        if (close != std::string_view::npos) {
            Emit(close, close + 2, ColourCategory::Delimiter);
            pos_ = close + 2;
            state_.server = false;
            state_.directive = false;
        }
    }

    // Code from `from` to `to`: a string or a comment ends at `to` at the
    // latest (the line's end or the block's). In a <% %> block (`closable`)
    // the code ends where the server ends it, at a "%>" outside a string
    // literal (one inside a comment ends it too): that offset is returned,
    // npos when the code runs to `to`.
    size_t VBScript(size_t from, size_t to, bool closable = false)
    {
        // "%>" is ASCII below 0x40, never the second byte of a GBK character.
        const auto commentEnd = [&](size_t at) {
            return closable ? line_.substr(0, to).find("%>", at) : std::string_view::npos;
        };
        size_t i = from;
        while (i < to) {
            const auto c = static_cast<unsigned char>(line_[i]);
            if (closable && c == '%' && i + 1 < to && line_[i + 1] == '>')
                return i;
            if (IsWordChar(c)) {
                size_t j = i;
                while (j < to && IsWordChar(static_cast<unsigned char>(line_[j])))
                    ++j;
                // Rem is reserved: wherever it stands it starts a comment.
                if (EqualsNoCase(line_.substr(i, j - i), "rem")) {
                    const size_t end = commentEnd(j);
                    Emit(i, end == std::string_view::npos ? to : end, ColourCategory::Comment);
                    return end;
                }
                Emit(i, j, CategoryOfWord(line_.substr(i, j - i), store_));
                i = j;
            } else if (c == '"') {
                const size_t close = line_.substr(0, to).find('"', i + 1);
                const size_t stop = close == std::string_view::npos ? to : close + 1;
                Emit(i, stop, ColourCategory::String);
                i = stop;
            } else if (c == '\'') {
                const size_t end = commentEnd(i + 1);
                Emit(i, end == std::string_view::npos ? to : end, ColourCategory::Comment);
                return end;
            } else {
                const size_t next = std::min(to, i + CharLength(i));
                Emit(i, next, ColourCategory::Default);
                i = next;
            }
        }
        return std::string_view::npos;
    }

    void HtmlText()
    {
        const size_t at = line_.find_first_of("<&", pos_);
        const size_t stop = at == std::string_view::npos ? line_.size() : at;
        Emit(pos_, stop, ColourCategory::Default);
        pos_ = stop;
        if (at == std::string_view::npos)
            return;
        if (line_[at] == '&') {
            Entity();
            return;
        }
        if (line_.substr(at, 2) == "<%") {
            EnterServer(at);
        } else if (line_.substr(at, 4) == "<!--") {
            size_t k = at + 4;
            while (k < line_.size() && IsBlank(line_[k]))
                ++k;
            const bool include = StartsWithNoCase(line_.substr(k), "#include");
            state_.mode = include ? PageMode::IncludeComment : PageMode::HtmlComment;
            Emit(at, at + 4, include ? ColourCategory::Directive : ColourCategory::HtmlComment);
            pos_ = at + 4;
        } else if (at + 1 < line_.size()
                   && (IsWordChar(static_cast<unsigned char>(line_[at + 1])) || line_[at + 1] == '/'
                       || line_[at + 1] == '!' || line_[at + 1] == '?')) {
            OpenTag(at);
        } else {
            Emit(at, at + 1, ColourCategory::Default);
            pos_ = at + 1;
        }
    }

    void Entity()
    {
        size_t j = pos_ + 1;
        if (j < line_.size() && line_[j] == '#')
            ++j;
        const size_t nameStart = j;
        while (j < line_.size() && IsWordChar(static_cast<unsigned char>(line_[j])))
            ++j;
        if (j > nameStart && j < line_.size() && line_[j] == ';') {
            Emit(pos_, j + 1, ColourCategory::Entity);
            pos_ = j + 1;
        } else {
            Emit(pos_, pos_ + 1, ColourCategory::Default);
            ++pos_;
        }
    }

    void OpenTag(size_t at)
    {
        size_t j = at + 1;
        if (line_[j] == '/' || line_[j] == '!' || line_[j] == '?')
            ++j;
        const size_t nameStart = j;
        while (j < line_.size()
               && (IsWordChar(static_cast<unsigned char>(line_[j])) || line_[j] == '-' || line_[j] == ':'))
            ++j;
        const std::string_view name = line_.substr(nameStart, j - nameStart);
        const bool closing = line_[at + 1] == '/';
        Emit(at, j, ColourCategory::Tag);
        state_.mode = PageMode::Tag;
        state_.tag = closing                        ? TagKind::Other
                     : EqualsNoCase(name, "script") ? TagKind::Script
                     : EqualsNoCase(name, "style")  ? TagKind::Style
                                                    : TagKind::Other;
        state_.phase = TagPhase::Attributes;
        state_.quote = 0;
        state_.attribute = AttributeKind::Other;
        state_.runatServer = false;
        state_.otherLanguage = false;
        pos_ = j;
    }

    void ApplyAttribute(std::string_view value)
    {
        while (!value.empty() && IsBlank(value.front()))
            value.remove_prefix(1);
        while (!value.empty() && IsBlank(value.back()))
            value.remove_suffix(1);
        if (state_.attribute == AttributeKind::Runat && EqualsNoCase(value, "server"))
            state_.runatServer = true;
        if (state_.attribute == AttributeKind::Language && !EqualsNoCase(value, "vbscript"))
            state_.otherLanguage = true;
        state_.attribute = AttributeKind::Other;
        state_.phase = TagPhase::Attributes;
    }

    void CloseTag()
    {
        const bool selfClosing = pos_ > 0 && line_[pos_ - 1] == '/';
        Emit(pos_, pos_ + 1, ColourCategory::Tag);
        ++pos_;
        PageMode next = PageMode::Html;
        if (!selfClosing && state_.tag == TagKind::Script)
            next =
                state_.runatServer && !state_.otherLanguage ? PageMode::ServerScript : PageMode::ClientScript;
        else if (!selfClosing && state_.tag == TagKind::Style)
            next = PageMode::ClientStyle;
        state_ = PageState{};
        state_.mode = next;
    }

    void TagBody()
    {
        if (state_.phase == TagPhase::Quoted) {
            const size_t close = (state_.quote == '"' ? doubleQuote_ : singleQuote_).From(pos_);
            const size_t server = serverOpen_.From(pos_);
            if (server < close) {
                Emit(pos_, server, ColourCategory::AttributeValue);
                EnterServer(server);
                return;
            }
            if (close == std::string_view::npos) {
                Emit(pos_, line_.size(), ColourCategory::AttributeValue);
                pos_ = line_.size();
                return;
            }
            Emit(pos_, close + 1, ColourCategory::AttributeValue);
            ApplyAttribute(line_.substr(pos_, close - pos_));
            pos_ = close + 1;
            return;
        }
        const char c = line_[pos_];
        if (c == '<' && line_.substr(pos_, 2) == "<%") {
            EnterServer(pos_);
        } else if (c == '>') {
            CloseTag();
        } else if (IsBlank(c) || c == '/') {
            Emit(pos_, pos_ + 1, ColourCategory::Tag);
            ++pos_;
        } else if (c == '=') {
            Emit(pos_, pos_ + 1, ColourCategory::Tag);
            state_.phase = TagPhase::AfterEquals;
            ++pos_;
        } else if (c == '"' || c == '\'') {
            Emit(pos_, pos_ + 1, ColourCategory::AttributeValue);
            state_.phase = TagPhase::Quoted;
            state_.quote = c;
            ++pos_;
        } else {
            size_t j = pos_;
            while (j < line_.size() && !IsBlank(line_[j]) && line_[j] != '>' && line_[j] != '='
                   && line_[j] != '"' && line_[j] != '\'' && line_[j] != '<'
                   && (state_.phase == TagPhase::AfterEquals || line_[j] != '/'))
                j += CharLength(j);
            j = std::max(j, pos_ + 1);
            const std::string_view word = line_.substr(pos_, j - pos_);
            if (state_.phase == TagPhase::AfterEquals) {
                Emit(pos_, j, ColourCategory::AttributeValue);
                ApplyAttribute(word);
            } else {
                Emit(pos_, j, ColourCategory::AttributeName);
                state_.attribute = EqualsNoCase(word, "runat")      ? AttributeKind::Runat
                                   : EqualsNoCase(word, "language") ? AttributeKind::Language
                                                                    : AttributeKind::Other;
            }
            pos_ = j;
        }
    }

    void Comment()
    {
        const ColourCategory category =
            state_.mode == PageMode::IncludeComment ? ColourCategory::Directive : ColourCategory::HtmlComment;
        const size_t close = commentClose_.From(pos_);
        const size_t server = serverOpen_.From(pos_);
        if (server < close) {
            Emit(pos_, server, category);
            EnterServer(server);
            return;
        }
        const size_t stop = close == std::string_view::npos ? line_.size() : close + 3;
        Emit(pos_, stop, category);
        pos_ = stop;
        if (close != std::string_view::npos)
            state_.mode = PageMode::Html;
    }

    // Client script and style run to their closing tag; a server block
    // inside them is server code, as the server runs it before sending.
    void ClientContent()
    {
        const bool script = state_.mode == PageMode::ClientScript;
        const ColourCategory category = script ? ColourCategory::ClientScript : ColourCategory::ClientStyle;
        for (size_t at = line_.find('<', pos_); at != std::string_view::npos; at = line_.find('<', at + 1)) {
            if (line_.substr(at, 2) == "<%") {
                Emit(pos_, at, category);
                EnterServer(at);
                return;
            }
            if (StartsWithNoCase(line_.substr(at), script ? "</script" : "</style")) {
                Emit(pos_, at, category);
                pos_ = at;
                state_.mode = PageMode::Html;
                return;
            }
        }
        Emit(pos_, line_.size(), category);
        pos_ = line_.size();
    }

    void ServerScript()
    {
        size_t end = line_.find('<', pos_);
        while (end != std::string_view::npos && !StartsWithNoCase(line_.substr(end), "</script"))
            end = line_.find('<', end + 1);
        const size_t stop = end == std::string_view::npos ? line_.size() : end;
        VBScript(pos_, stop);
        pos_ = stop;
        if (end != std::string_view::npos)
            state_.mode = PageMode::Html;
    }

    std::string_view line_;
    size_t pos_ = 0;
    PageState state_;
    const KeywordStore &store_;
    bool gbk_;
    std::vector<ColourSpan> &spans_;
    NextMatch serverOpen_;
    NextMatch commentClose_;
    NextMatch doubleQuote_;
    NextMatch singleQuote_;
};

}  // namespace

PageState ColourPageLine(std::string_view line, PageState start, const KeywordStore &store,
                         TextEncoding encoding, std::vector<ColourSpan> &spans)
{
    return LineColouring(line, start, store, encoding, spans).Run();
}

}  // namespace qasp
