// Where a line of a page starts: inside HTML text, a tag, an HTML comment,
// client script or style, a server <script>, and whether inside a <% %>
// block on top of that. The colouring carries it from one line to the next;
// it packs into a non-negative int (a Qt block state).
#pragma once

#include <cstdint>

namespace qasp {

enum class PageMode : uint8_t {
    Html,
    Tag,
    HtmlComment,
    IncludeComment,  // <!-- #include ... --> not closed on its line
    ClientScript,
    ClientStyle,
    ServerScript,  // <script runat="server"> content
};

enum class TagKind : uint8_t { Other, Script, Style };
enum class TagPhase : uint8_t { Attributes, AfterEquals, Quoted };
enum class AttributeKind : uint8_t { Other, Runat, Language };

struct PageState {
    PageMode mode = PageMode::Html;
    bool server = false;     // inside <% %>, on top of mode
    bool directive = false;  // the server block is <%@ %>
    TagKind tag = TagKind::Other;
    TagPhase phase = TagPhase::Attributes;
    char quote = 0;  // '"' or '\'' while phase is Quoted
    AttributeKind attribute = AttributeKind::Other;
    bool runatServer = false;    // the script tag said runat="server"
    bool otherLanguage = false;  // ... and a language other than VBScript

    bool operator==(const PageState &) const = default;

    int Pack() const
    {
        return static_cast<int>(mode) | server << 3 | directive << 4 | static_cast<int>(tag) << 5
               | static_cast<int>(phase) << 7
               | (quote == '"'    ? 1
                  : quote == '\'' ? 2
                                  : 0)
                     << 9
               | static_cast<int>(attribute) << 11 | runatServer << 13 | otherLanguage << 14;
    }
    static PageState Unpack(int packed)
    {
        PageState s;
        s.mode = static_cast<PageMode>(packed & 7);
        s.server = packed >> 3 & 1;
        s.directive = packed >> 4 & 1;
        s.tag = static_cast<TagKind>(packed >> 5 & 3);
        s.phase = static_cast<TagPhase>(packed >> 7 & 3);
        const int q = packed >> 9 & 3;
        s.quote = q == 1 ? '"' : q == 2 ? '\'' : 0;
        s.attribute = static_cast<AttributeKind>(packed >> 11 & 3);
        s.runatServer = packed >> 13 & 1;
        s.otherLanguage = packed >> 14 & 1;
        return s;
    }
};

// A procedure node's text starts inside a server block.
constexpr PageState ServerCodeStart()
{
    PageState s;
    s.server = true;
    return s;
}

}  // namespace qasp
