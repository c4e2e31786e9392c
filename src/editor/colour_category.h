// What a piece of page text is, for its colour: the seven categories of the
// legend (VBScript and the plain text around it) and those of HTML.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace qasp {

enum class ColourCategory : uint8_t {
    // The legend's seven, in its order (see ColourIndex).
    Default,
    String,
    Keyword,
    Global,
    Local,
    Function,
    Comment,
    // HTML around the server code.
    Tag,
    AttributeName,
    AttributeValue,
    Entity,
    HtmlComment,
    Directive,  // <%@ %> and <!-- #include -->
    Delimiter,  // <% <%= %>
    ClientScript,
    ClientStyle,
};

constexpr size_t kColourCategoryCount = 16;

// The category's settings key, e.g. "keyword", "attribute-value".
std::string_view CategoryName(ColourCategory category);

// The category of a key type of the keyword store (kNoEntry is Default).
ColourCategory CategoryOfKeyType(int keyType);

}  // namespace qasp
