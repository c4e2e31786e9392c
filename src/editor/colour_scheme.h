// A colour for every category: the classic scheme (the legend's colours of
// old, comment in silver) and readable defaults for a light and a dark
// editor background, every colour at least 4.5:1 against its background.
#pragma once

#include "editor/colour_category.h"
#include "editor/colour_table.h"

#include <array>
#include <optional>
#include <string_view>

namespace qasp {

struct ColourScheme {
    ColourValue background;
    std::array<ColourValue, kColourCategoryCount> colours;

    ColourValue Of(ColourCategory category) const { return colours[static_cast<size_t>(category)]; }
    void Set(ColourCategory category, ColourValue c) { colours[static_cast<size_t>(category)] = c; }
};

const ColourScheme &ClassicScheme();
const ColourScheme &LightScheme();
const ColourScheme &DarkScheme();

// "classic", "light" or "dark".
const ColourScheme *SchemeNamed(std::string_view name);

// The WCAG contrast ratio of two colours, 1 to 21.
double ContrastRatio(ColourValue a, ColourValue b);
// Whether a background is dark enough that light text reads better on it.
bool IsDarkBackground(ColourValue background);

// "#RRGGBB" (or "RRGGBB") into a colour.
std::optional<ColourValue> ParseHtmlColour(std::string_view text);

}  // namespace qasp
