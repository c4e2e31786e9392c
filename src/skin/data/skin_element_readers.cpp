#include "skin/data/skin_element_readers.h"

#include "skin/data/quick_ini.h"
#include "skin/data/skin_reader.h"

namespace qasp::skin {
namespace {

// The fields that every image element shares.
void ReadImageFields(const SkinSource &s, std::string_view section, SkinElement &e, bool withStyle)
{
    const TQuickIni &ini = s.ini;
    e.Bitmap = LoadSkinBitmap(s.reader, ini.ReadString(section, "Image", ""));
    if (withStyle)
        e.Style = ini.ReadInteger(section, "Style", 0);
    e.Margins.Left = ini.ReadInteger(section, "LeftWidth", 0);
    e.Margins.Right = ini.ReadInteger(section, "RightWidth", 0);
    e.Margins.Top = ini.ReadInteger(section, "TopHeight", 0);
    e.Margins.Bottom = ini.ReadInteger(section, "BottomHeight", 0);
    e.Trans = ini.ReadInteger(section, "Trans", 0);
    e.Tile = ini.ReadInteger(section, "Tile", 0);
    if (e.Tile > 1)
        e.Tile = 0;
    e.NormalColour = ini.ReadInteger(section, "NormalColour", -1);
    e.MouseOverColour = ini.ReadInteger(section, "MouseOverColour", -1);
    e.PressedColour = ini.ReadInteger(section, "PressedColour", -1);
    e.NormalColour2 = ini.ReadColour(section, "NormalColour2", s.buttonText);
    e.MouseOverColour2 = ini.ReadColour(section, "MouseOverColour2", s.buttonText);
    e.PressedColour2 = ini.ReadColour(section, "PressedColour2", s.buttonText);
}

bool HasKey(const TQuickIni &ini, std::string_view section, std::string_view key)
{
    return !ini.ReadString(section, key, "").empty();
}

}  // namespace

QImage LoadSkinBitmap(const TSkinReader &reader, std::string_view value)
{
    const size_t cut = value.find_last_of("\\:");
    const std::string_view file = cut == std::string_view::npos ? value : value.substr(cut + 1);
    if (file.empty() || file.size() < 4 || file.substr(file.size() - 4) != ".bmp")
        return {};
    const std::string bytes = reader.ExtractEntry(file);
    if (bytes.empty())
        return {};
    QImage image = QImage::fromData(reinterpret_cast<const uchar *>(bytes.data()),
                                    static_cast<int>(bytes.size()), "BMP");
    return image.isNull() ? QImage() : image.convertToFormat(QImage::Format_RGB888);
}

std::unique_ptr<SkinElement> ReadImageElement(const SkinSource &s, std::string_view section)
{
    if (!HasKey(s.ini, section, "Image"))
        return nullptr;
    auto e = std::make_unique<SkinElement>(std::string(section));
    ReadImageFields(s, section, *e, true);
    return e;
}

std::unique_ptr<SkinBorder> ReadImagePairElement(const SkinSource &s, std::string_view section,
                                                 std::string_view secondKey)
{
    if (!HasKey(s.ini, section, "Image"))
        return nullptr;
    auto e = std::make_unique<SkinBorder>(std::string(section));
    ReadImageFields(s, section, *e, false);
    const std::string second = s.ini.ReadString(section, secondKey, "");
    if (!second.empty())
        e->Bitmap2 = LoadSkinBitmap(s.reader, second);
    return e;
}

std::unique_ptr<SkinBorder> ReadBitmapElement(const SkinSource &s, std::string_view section)
{
    const TQuickIni &ini = s.ini;
    if (!HasKey(ini, section, "Bitmap"))
        return nullptr;
    auto e = std::make_unique<SkinBorder>(std::string(section));
    e->Bitmap = LoadSkinBitmap(s.reader, ini.ReadString(section, "Bitmap", ""));
    const std::string chunk = ini.ReadString(section, "Chunk", "");
    if (!chunk.empty())
        e->Bitmap2 = LoadSkinBitmap(s.reader, chunk);
    e->Style = ini.ReadInteger(section, "Style", 0);
    e->Margins.Left = ini.ReadInteger(section, "LeftWidth", 0);
    e->Margins.Right = ini.ReadInteger(section, "RightWidth", 0);
    e->Margins.Top = ini.ReadInteger(section, "TopHeight", 0);
    e->Margins.Bottom = ini.ReadInteger(section, "BottomHeight", 0);
    e->Trans = ini.ReadInteger(section, "Trans", 0);
    e->Tile = ini.ReadInteger(section, "Tile", 0);
    if (e->Tile > 1)
        e->Tile = 1;
    return e;
}

std::unique_ptr<SkinBoxLabel> ReadBoxLabelElement(const SkinSource &s, std::string_view section)
{
    if (!HasKey(s.ini, section, "Image"))
        return nullptr;
    auto e = std::make_unique<SkinBoxLabel>(std::string(section));
    ReadImageFields(s, section, *e, true);
    e->BackgroundAlignment = s.ini.ReadInteger(section, "BackgroundAlignment", 0);
    e->BackgroundLeftShift = s.ini.ReadInteger(section, "BackgroundLeftShift", 0);
    e->BackgroundRightShift = s.ini.ReadInteger(section, "BackgroundRightShift", 0);
    return e;
}

}  // namespace qasp::skin
