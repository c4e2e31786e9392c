#include "skin/data/skin_model.h"

#include "skin/data/quick_ini.h"
#include "skin/data/skin_draw.h"
#include "skin/data/skin_element_readers.h"
#include "skin/data/skin_reader.h"
#include "text/byte_string.h"

#include <QPainter>

#include <algorithm>
#include <cctype>

namespace qasp::skin {
namespace {

std::string Upper(std::string_view s)
{
    std::string out(s);
    for (char &c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

void ReadBorders(SkinModel &m, const TSkinReader &reader, const TQuickIni &ini)
{
    const std::pair<const char *, SkinBorder *> borders[] = {
        {"Left", &m.Left}, {"Right", &m.Right}, {"Top", &m.Top}, {"Bottom", &m.Bottom}};
    for (const auto &[name, b] : borders) {
        const std::string key(name);
        b->Bitmap = LoadSkinBitmap(reader, ini.ReadString("Personality", key, ""));
        const int first = ini.ReadInteger("Personality", key + "TopHeight", 0);
        const int second = ini.ReadInteger("Personality", key + "BotHeight", 0);
        // A horizontal border is cut at its left and right ends.
        if (key == "Left" || key == "Right")
            b->Margins = {0, first, 0, second};
        else
            b->Margins = {first, 0, second, 0};
        b->FrameCount = ini.ReadInteger("Personality", key + "Frame", 1);
        // A border's Stretch of 1 stretches its middle, anything else tiles it.
        b->Tile = ini.ReadInteger("Personality", key + "Stretch", 1) == 1 ? 0 : 1;
        b->Trans = ini.ReadInteger("Personality", key + "Trans", 1);
    }
}

void ReadColours(SkinModel &m, const TQuickIni &ini, const std::vector<std::string> &sections)
{
    SkinColourTable &c = m.Colours;
    const auto colour = [&ini](const char *key, SkinColour fallback) {
        return ini.ReadColour("Colours", key, fallback);
    };
    c.WindowText = colour("WindowText", SystemColour(8));
    c.ButtonFace = colour("ButtonFace", SystemColour(15));
    c.Scrollbar = colour("Scrollbar", SystemColour(0));
    c.HilightText = colour("HilightText", SystemColour(14));
    c.Hilight = colour("Hilight", SystemColour(13));
    c.Menubar = colour("Menubar", c.ButtonFace);
    c.Menu = colour("Menu", SystemColour(4));
    c.MenuText = colour("MenuText", SystemColour(7));
    c.ButtonText = colour("ButtonText", SystemColour(18));
    c.ButtonHilight = colour("ButtonHilight", SystemColour(20));
    c.Buttonlight = colour("Buttonlight", SystemColour(20));
    c.ButtonShadow = colour("ButtonShadow", SystemColour(16));
    c.ButtonDkShadow = colour("ButtonDkShadow", SystemColour(21));
    c.MenuBarText = colour("MenuBarText", SystemColour(7));
    c.TitleTextActive = colour("TitleTextActive", SystemColour(9));
    c.TitleTextNoActive = colour("TitleTextNoActive", SystemColour(19));

    m.ColourList.clear();
    for (const std::string &section : sections) {
        const std::string upper = Upper(section);
        if (upper.rfind("COLOUR", 0) == 0 && upper != "COLOURS")
            m.ColourList.push_back(ini.ReadColour(section, "color", SystemColour(8)));
    }
    for (int i = 0; i < 10; ++i)
        m.CustomColours[i] = ini.ReadColour("Customcolors", "Color" + std::to_string(i), 0xFFFFFF);
}

void ReadCaptionButtons(SkinModel &m, const TSkinReader &reader, const TQuickIni &ini,
                        const std::vector<std::string> &sections)
{
    m.CaptionButtons.clear();
    for (const std::string &section : sections) {
        const std::string upper = Upper(section);
        if (upper.rfind("BUTTON", 0) != 0 || upper == "BUTTONS" || upper == "BUTTON.RADIO"
            || upper == "BUTTON.CHECKBOX" || upper == "BUTTON")
            continue;
        const int action = ini.ReadInteger(section, "Action", 0);
        if (action == -1 && ini.ReadInteger(section, "Visibility", -1) != 0)
            continue;
        auto b = std::make_unique<SkinCaptionButton>(upper);
        b->Action = action;
        b->Align = ini.ReadInteger(section, "Align", 0);
        b->Xcoord = ini.ReadInteger(section, "Xcoord", 0);
        b->Ycoord = ini.ReadInteger(section, "Ycoord", 0);
        b->Visibility = ini.ReadInteger(section, "Visibility", 0);
        b->Visibility1 = ini.ReadInteger(section, "Visibility1", action == -1 ? -1 : 0);
        b->CombineOp = ini.ReadInteger(section, "CombineOp", -1);
        b->FrameCount = ini.ReadInteger(section, "frame", 0);
        b->Bitmap = LoadSkinBitmap(reader, ini.ReadString(section, "ButtonImage", ""));
        if (b->FrameCount == 0) {
            b->FrameCount = 6;
            if (!b->Bitmap.isNull())
                b->FrameCount = static_cast<double>(b->Bitmap.width()) / b->Bitmap.height() <= 3.8 ? 3 : 6;
            if (action < 0)
                b->FrameCount = 6;
            if (action == 3 || action == 11)
                b->Bitmap = QImage();
        }
        m.CaptionButtons.push_back(std::move(b));
    }
    // The three buttons of a maximised MDI child: restore, minimise, close.
    const QImage strip = LoadSkinBitmap(reader, ini.ReadString("MDICONTROLS", "Image", ""));
    for (int i = 0; i < 3; ++i) {
        auto b = std::make_unique<SkinCaptionButton>("MDI" + std::to_string(i));
        b->Action = 7 + i;
        b->Align = b->Visibility = b->Visibility1 = 100;
        b->FrameCount = 4;
        if (!strip.isNull()) {
            const int a = strip.width() / 12;
            b->Bitmap = strip.copy(4 * a * i, 0, 4 * a, strip.height());
            b->Xcoord = (a + 4) * (3 - i);
        }
        m.CaptionButtons.push_back(std::move(b));
    }
}

void ReadButtons(SkinModel &m, const TSkinReader &reader, const TQuickIni &ini)
{
    SkinButton &b = m.Buttons;
    const char *s = "Buttons";
    b.Margins = {ini.ReadInteger(s, "LeftWidth", 0), ini.ReadInteger(s, "TopHeight", 0),
                 ini.ReadInteger(s, "RightWidth", 0), ini.ReadInteger(s, "BottomHeight", 0)};
    b.Trans = ini.ReadInteger(s, "Trans", 0);
    b.Tile = ini.ReadInteger(s, "Tile", 0);
    if (b.Tile > 1)
        b.Tile = 0;
    b.Bitmap = LoadSkinBitmap(reader, ini.ReadString(s, "Bitmap", ""));
    b.CheckBitmap = LoadSkinBitmap(reader, ini.ReadString(s, "CheckButton", ""));
    b.RadioBitmap = LoadSkinBitmap(reader, ini.ReadString(s, "RadioButton", ""));
    b.NormalColour = ini.ReadInteger(s, "NormalColour", -1);
    b.MouseOverColour = ini.ReadInteger(s, "MouseOverColour", -1);
    b.PressedColour = ini.ReadInteger(s, "PressedColour", -1);
    b.RadioButtonFrame = ini.ReadInteger(s, "RadioButtonFrame", 0);
    b.CheckButtonFrame = ini.ReadInteger(s, "CheckButtonFrame", 0);
    b.HasNormalColour2 = !ini.ReadString(s, "NormalColour2", "").empty();
    b.HasMouseOverColour2 = !ini.ReadString(s, "MouseOverColour2", "").empty();
    b.HasPressedColour2 = !ini.ReadString(s, "PressedColour2", "").empty();
    b.NormalColour2 = ini.ReadColour(s, "NormalColour2", m.Colours.ButtonText);
    b.MouseOverColour2 = ini.ReadColour(s, "MouseOverColour2", m.Colours.ButtonText);
    b.PressedColour2 = ini.ReadColour(s, "PressedColour2", m.Colours.ButtonText);
}

void ReadTitle(SkinModel &m, const TSkinReader &reader, const TQuickIni &ini)
{
    SkinTitle &t = m.Title;
    t.Bitmap = LoadSkinBitmap(reader, ini.ReadString("Personality", "TextBack", ""));
    t.Margins = {ini.ReadInteger("Personality", "TextShift", 0),
                 ini.ReadInteger("Personality", "TextShiftVert", 0),
                 ini.ReadInteger("Personality", "TextRightClip", 0), 0};
    t.TextAlignment = ini.ReadInteger("Personality", "TextAlignment", 0);
    t.Textbackground = ini.ReadInteger("Personality", "Textbackground", 0);
    t.TXTBackleft = ini.ReadInteger("Personality", "TXTBackleft", 0);
    t.TXTBackRight = ini.ReadInteger("Personality", "TXTBackRight", 0);
    t.FontHeight = ini.ReadInteger("Fonts", "FontHeight", 14);
    ini.ReadRGB("Personality", "ActiveText", t.ActiveText);
    ini.ReadRGB("Personality", "InActiveText", t.InActiveText);
}

std::unique_ptr<SkinElement> ReadMenuBar(const TSkinReader &reader, const TQuickIni &ini)
{
    const std::string image = ini.ReadString("Personality", "menuBar", "");
    if (image.empty())
        return nullptr;
    auto e = std::make_unique<SkinElement>("Personality");
    e->Bitmap = LoadSkinBitmap(reader, image);
    e->Tile = ini.ReadInteger("Personality", "TileMenu", 1) == 1 ? 1 : 0;
    e->Margins = {ini.ReadInteger("Personality", "TileLeftMenu", 1), 0,
                  ini.ReadInteger("Personality", "TileRightMenu", 1), 0};
    return e;
}

std::unique_ptr<SkinElement> GrooveElement(const char *name, const QImage &image)
{
    auto e = std::make_unique<SkinElement>(name);
    e->Bitmap = image.convertToFormat(QImage::Format_RGB888);
    e->Margins = {3, 3, 3, 3};
    e->FrameCount = 1;
    return e;
}

template <typename Element> void SetFrames(const std::unique_ptr<Element> &e, int count)
{
    if (e)
        e->FrameCount = count;
}

void FixFrameCounts(SkinModel &m, const TQuickIni &ini)
{
    SkinButton &b = m.Buttons;
    b.FrameCount = 5;
    const auto glyphFrames = [](const QImage &image) {
        const int w = image.isNull() ? 0 : image.width() / (image.height() < 16 ? 13 : 16);
        return std::max(w, 4);
    };
    if (b.RadioButtonFrame == 0)
        b.RadioButtonFrame = glyphFrames(b.RadioBitmap);
    if (b.CheckButtonFrame == 0)
        b.CheckButtonFrame = glyphFrames(b.CheckBitmap);
    m.Title.FrameCount = 2;
    SetFrames(m.Progress, 2);
    SetFrames(m.MenuBar, 2);
    SetFrames(m.GroupBoxEdge, 2);
    SetFrames(m.Toolbar, 1);
    SetFrames(m.ToolBars, 5);
    SetFrames(m.Tabs, 5);
    SetFrames(m.StatusBarEdges, 3);
    SetFrames(m.GroupBox, 1);
    SetFrames(m.ComboButton, 4);
    SetFrames(m.SunkEdge, 4);
    SetFrames(m.ExtraImages, 5);
    SetFrames(m.Headerbar, 5);
    SetFrames(m.MenuItem, 5);
    SetFrames(m.MenuBackground, 1);
    SetFrames(m.Scrollbar, 23);
    SetFrames(m.HorzScroll, 4);
    SetFrames(m.VertScroll, 4);
    SetFrames(m.UpDownVert, 8);
    SetFrames(m.UpDownHorz, 8);
    for (auto *thumb : {&m.TrackbarThumbHorz, &m.TrackbarThumbVert, &m.TrackbarThumbLeft,
                        &m.TrackbarThumbRight, &m.TrackbarThumbUp, &m.TrackbarThumbDown})
        SetFrames(*thumb, 5);
    SetFrames(m.HorzScrollThumb, ini.ReadInteger("HorzScrollThumb", "FrameCount", 3));
    SetFrames(m.VertScrollThumb, ini.ReadInteger("VertScrollThumb", "FrameCount", 3));
}

// The edit box of a combo box and its button as one strip of state images,
// and its mirror for the sunk edge, as the combo box painter wants them.
void BuildComboStrips(SkinModel &m, int scrollArrowWidth)
{
    if (!m.SunkEdge || !m.ComboButton)
        return;
    const int k = std::max(m.SunkEdge->FrameCount, 1);
    const int w = scrollArrowWidth + 2;
    QImage strip(50 * k, 21, QImage::Format_RGB888);
    strip.fill(QColor(255, 0, 255));
    for (int j = 1; j <= k; ++j) {
        QImage cell(50, 21, QImage::Format_RGB888);
        cell.fill(QColor(255, 0, 255));
        {
            QPainter p(&cell);
            DrawSkinElement(p, *m.SunkEdge, j, QRect(0, 0, 50, 21));
            const QRect button(50 - w, 0, w, 21);
            DrawSkinElement(p, *m.ComboButton, j, button);
            if (m.ExtraImages)
                DrawSkinGlyph(p, *m.ExtraImages, j, button);
            p.fillRect(QRect(QPoint(2, 2), QPoint(49 - w - 1, 17)), QColor(255, 0, 255));
        }
        QPainter(&strip).drawImage(50 * (j - 1), 0, cell);
    }
    m.ComboButton->Style = 2;
    m.ComboButton->Margins = m.SunkEdge->Margins;
    m.ComboButton->Margins.Left = 2;
    m.ComboButton->Margins.Right = w + 2;
    m.ComboButton->Bitmap = strip;
    MirrorHorizontal(strip);
    m.SunkEdge->Bitmap = strip;
    m.SunkEdge->Margins.Left = w + 2;
    m.SunkEdge->Margins.Right = 2;
}

void BuildToolbarBackground(SkinModel &m)
{
    const SkinColour c1 = BlendColours(m.Colours.ButtonFace, 0xFFFFFF, 150);
    const SkinColour c2 = BlendColours(0x808080, m.FrameColour(), 150);
    QImage image(10, 40, QImage::Format_RGB888);
    {
        QPainter p(&image);
        GradientFill(p, image.rect(), c1, true, c2);
    }
    if (!m.Toolbar)
        m.Toolbar = std::make_unique<SkinElement>("Toolbar");
    m.Toolbar->Bitmap = image;
    m.Toolbar->FrameCount = 1;
}

// Magenta is the skin's transparent colour whatever an element's Trans
// says: every picture loses it once here, so no painter can show it.
void MakeAllPicturesTransparent(SkinModel &m)
{
    for (const auto &[name, listed] : m.Elements()) {
        auto *element = const_cast<SkinElement *>(listed);  // one of m's own parts
        MakeMagentaTransparent(element->Bitmap);
        if (auto *border = dynamic_cast<SkinBorder *>(element))
            MakeMagentaTransparent(border->Bitmap2);
    }
    MakeMagentaTransparent(m.Buttons.CheckBitmap);
    MakeMagentaTransparent(m.Buttons.RadioBitmap);
}

}  // namespace

SkinColour SkinModel::FrameColour() const
{
    if (Top.Bitmap.isNull())
        return Colours.ButtonFace;
    const int frames = std::max(Top.FrameCount, 1);
    return FromQColor(Top.Bitmap.pixelColor(Top.Bitmap.width() / 2, Top.Bitmap.height() / frames * 2 / 3));
}

std::vector<std::pair<std::string, const SkinElement *>> SkinModel::Elements() const
{
    std::vector<std::pair<std::string, const SkinElement *>> out = {{"Title", &Title}, {"Buttons", &Buttons},
                                                                    {"Left", &Left},   {"Right", &Right},
                                                                    {"Top", &Top},     {"Bottom", &Bottom}};
    const std::pair<const char *, const SkinElement *> named[] = {
        {"Tabs", Tabs.get()},
        {"Progress", Progress.get()},
        {"UpDown.Horz", UpDownHorz.get()},
        {"UpDown.Vert", UpDownVert.get()},
        {"SunkEdge", SunkEdge.get()},
        {"ExtraImages", ExtraImages.get()},
        {"ComboButton", ComboButton.get()},
        {"GroupBoxEdge", GroupBoxEdge.get()},
        {"Toolbar", Toolbar.get()},
        {"ToolBars", ToolBars.get()},
        {"GroupBox", GroupBox.get()},
        {"StatusBarEdges", StatusBarEdges.get()},
        {"Headerbar", Headerbar.get()},
        {"MenuBar", MenuBar.get()},
        {"MenuItem", MenuItem.get()},
        {"MenuBackground", MenuBackground.get()},
        {"Scrollbar", Scrollbar.get()},
        {"HorzScroll", HorzScroll.get()},
        {"VertScroll", VertScroll.get()},
        {"HorzScrollThumb", HorzScrollThumb.get()},
        {"VertScrollThumb", VertScrollThumb.get()},
        {"Trackbar.ThumbHorz", TrackbarThumbHorz.get()},
        {"Trackbar.ThumbVert", TrackbarThumbVert.get()},
        {"TRACK", Track.get()},
        {"TRACKVERT", TrackVert.get()},
        {"Trackbar.ThumbLeft", TrackbarThumbLeft.get()},
        {"Trackbar.ThumbRight", TrackbarThumbRight.get()},
        {"Trackbar.ThumbUp", TrackbarThumbUp.get()},
        {"Trackbar.ThumbDown", TrackbarThumbDown.get()}};
    for (const auto &[name, e] : named)
        if (e)
            out.emplace_back(name, e);
    for (const auto &b : CaptionButtons)
        out.emplace_back(b->Name, b.get());
    return out;
}

void BuildSkinModel(SkinModel &m, const TSkinReader &reader, const TQuickIni &ini,
                    const SkinEnvironment &environment)
{
    const std::vector<std::string> sections = ini.ReadSections();
    m.SkinName = ini.ReadString("TitlebarSkin", "SkinName", "");
    ReadBorders(m, reader, ini);
    ReadColours(m, ini, sections);
    ReadCaptionButtons(m, reader, ini, sections);
    ReadButtons(m, reader, ini);
    ReadTitle(m, reader, ini);

    const SkinSource s{reader, ini, m.Colours.ButtonText};
    m.Progress = ReadBitmapElement(s, "Progress");
    m.MenuBar = ReadMenuBar(reader, ini);
    m.GroupBoxEdge = ReadImageElement(s, "GroupBoxEdge");
    m.GroupBox = ReadBoxLabelElement(s, "GroupBox");
    m.Tabs = ReadImagePairElement(s, "Tabs", "Border");
    m.StatusBarEdges = ReadImageElement(s, "StatusBarEdges");
    m.ToolBars = ReadImageElement(s, "ToolBars");
    m.ComboButton = ReadImagePairElement(s, "ComboButton", "****");
    if (m.ComboButton && !m.ComboButton->Bitmap.isNull()) {
        m.ComboButton->Bitmap2 = m.ComboButton->Bitmap;
        MirrorHorizontal(m.ComboButton->Bitmap2);
    }

    m.SunkEdge = ReadImageElement(s, "SunkEdge");
    m.ExtraImages = ReadImageElement(s, "ExtraImages");
    m.Headerbar = ReadImageElement(s, "Headerbar");
    m.MenuItem = ReadImageElement(s, "MenuItem");
    m.MenuBackground = ReadImageElement(s, "MenuBackground");
    m.Scrollbar = ReadImageElement(s, "Scrollbar");
    m.HorzScroll = ReadImageElement(s, "HorzScroll");
    m.VertScroll = ReadImageElement(s, "VertScroll");
    m.HorzScrollThumb = ReadImageElement(s, "HorzScrollThumb");
    m.VertScrollThumb = ReadImageElement(s, "VertScrollThumb");
    m.TrackbarThumbHorz = ReadImageElement(s, "Trackbar.ThumbHorz");
    m.TrackbarThumbVert = ReadImageElement(s, "Trackbar.ThumbVert");
    m.TrackbarThumbLeft = ReadImageElement(s, "Trackbar.ThumbLeft");
    m.TrackbarThumbRight = ReadImageElement(s, "Trackbar.ThumbRight");
    m.TrackbarThumbUp = ReadImageElement(s, "Trackbar.ThumbUp");
    m.TrackbarThumbDown = ReadImageElement(s, "Trackbar.ThumbDown");
    m.UpDownHorz = ReadImagePairElement(s, "UpDown.Horz", "GlyphImage");
    m.UpDownVert = ReadImagePairElement(s, "UpDown.Vert", "GlyphImage");

    m.Track = GrooveElement("TRACK", environment.track);
    m.TrackVert = GrooveElement("TRACKVERT", environment.trackVert);

    FixFrameCounts(m, ini);
    BuildComboStrips(m, environment.scrollArrowWidth);
    BuildToolbarBackground(m);
    MakeAllPicturesTransparent(m);
}

}  // namespace qasp::skin
