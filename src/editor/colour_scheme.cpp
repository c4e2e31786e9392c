#include "editor/colour_scheme.h"

#include <cmath>

namespace qasp {

namespace {

constexpr ColourValue Rgb(uint32_t rgb)
{
    // 0xRRGGBB as written in HTML, stored blue-high.
    return (rgb >> 16 & 0xFF) | (rgb & 0xFF00) | (rgb & 0xFF) << 16;
}

ColourScheme MakeScheme(ColourValue background, std::array<uint32_t, kColourCategoryCount> rgb)
{
    ColourScheme s{background, {}};
    for (size_t i = 0; i < rgb.size(); ++i)
        s.colours[i] = Rgb(rgb[i]);
    return s;
}

double Luminance(ColourValue c)
{
    const auto channel = [](uint8_t v) {
        const double x = v / 255.0;
        return x <= 0.04045 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(RedOf(c)) + 0.7152 * channel(GreenOf(c)) + 0.0722 * channel(BlueOf(c));
}

}  // namespace

const ColourScheme &ClassicScheme()
{
    // The seven of the legend as they always were; HTML as in the light scheme.
    static const ColourScheme scheme = [] {
        ColourScheme s = LightScheme();
        const ColourTable &table = BuildColourTable();
        for (size_t i = 0; i < table.size(); ++i)
            s.colours[i] = table[i].Color;
        return s;
    }();
    return scheme;
}

const ColourScheme &LightScheme()
{
    static const ColourScheme scheme = MakeScheme(
        Rgb(0xFFFFFF), {0x000000, 0x800080, 0x0000FF, 0xC00000, 0x008000, 0x007070, 0x607060, 0x800000,
                        0xA03000, 0x1F4E99, 0x8B4513, 0x607060, 0x6B5B00, 0x9A0060, 0x3A3A7A, 0x2E5A2E});
    return scheme;
}

const ColourScheme &DarkScheme()
{
    static const ColourScheme scheme = MakeScheme(
        Rgb(0x1E1E1E), {0xD4D4D4, 0xD69AD6, 0x6CA8FF, 0xFF7B72, 0x6CCB6C, 0x4EC9B0, 0x98A898, 0xE89A9A,
                        0xE0A070, 0x9CC8FF, 0xE0B080, 0x98A898, 0xD7C86A, 0xF08AC8, 0xB0B0E0, 0xA8D0A8});
    return scheme;
}

const ColourScheme *SchemeNamed(std::string_view name)
{
    if (name == "classic")
        return &ClassicScheme();
    if (name == "light")
        return &LightScheme();
    if (name == "dark")
        return &DarkScheme();
    return nullptr;
}

double ContrastRatio(ColourValue a, ColourValue b)
{
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

bool IsDarkBackground(ColourValue background)
{
    return Luminance(background) < 0.18;
}

std::optional<ColourValue> ParseHtmlColour(std::string_view text)
{
    if (text.starts_with('#'))
        text.remove_prefix(1);
    if (text.size() != 6)
        return std::nullopt;
    uint32_t rgb = 0;
    for (char c : text) {
        const int d = c >= '0' && c <= '9'   ? c - '0'
                      : c >= 'a' && c <= 'f' ? c - 'a' + 10
                      : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                             : -1;
        if (d < 0)
            return std::nullopt;
        rgb = rgb << 4 | static_cast<uint32_t>(d);
    }
    return Rgb(rgb);
}

}  // namespace qasp
