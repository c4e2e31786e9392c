// Reading elements out of the skin description and its container.
#pragma once

#include "skin/data/skin_elements.h"

#include <memory>
#include <string_view>

namespace qasp::skin {

class TQuickIni;
class TSkinReader;

// The container entry named by `value` (directory part dropped; only a
// lower-case ".bmp" qualifies) as a 24-bit image, or an empty image.
QImage LoadSkinBitmap(const TSkinReader &reader, std::string_view value);

struct SkinSource {
    const TSkinReader &reader;
    const TQuickIni &ini;
    SkinColour buttonText;  // the default of the NormalColour2 ... keys
};

// The four reader forms; each gives no element when the section lacks the
// element's defining key.
std::unique_ptr<SkinElement> ReadImageElement(const SkinSource &s, std::string_view section);
std::unique_ptr<SkinBorder> ReadImagePairElement(const SkinSource &s, std::string_view section,
                                                 std::string_view secondKey);
std::unique_ptr<SkinBorder> ReadBitmapElement(const SkinSource &s, std::string_view section);
std::unique_ptr<SkinBoxLabel> ReadBoxLabelElement(const SkinSource &s, std::string_view section);

}  // namespace qasp::skin
