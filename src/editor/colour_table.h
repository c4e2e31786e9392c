// The seven colour categories of the editor and its legend.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace qasp {

// 0x00BBGGRR, blue in the high byte and red in the low byte.
using ColourValue = uint32_t;

constexpr uint8_t RedOf(ColourValue c)
{
    return c & 0xFF;
}
constexpr uint8_t GreenOf(ColourValue c)
{
    return (c >> 8) & 0xFF;
}
constexpr uint8_t BlueOf(ColourValue c)
{
    return (c >> 16) & 0xFF;
}

struct ColourEntry {
    ColourValue Color;
    std::string Caption;  // UTF-8, for the legend
};

using ColourTable = std::array<ColourEntry, 7>;

enum ColourIndex {
    kDefaultColour,
    kStringColour,
    kKeywordColour,
    kGlobalColour,
    kLocalColour,
    kFunctionColour,
    kCommentColour
};

const ColourTable &BuildColourTable();
ColourValue ColourOfKeyType(int keyType);

// "#RRGGBB", the notation of HTML.
std::string HtmlColour(ColourValue c);

}  // namespace qasp
