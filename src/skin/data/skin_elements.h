// The skin's elements: an image (or two) with fixed margins, a count of
// equal state images, flags and colours, as the skin description gives
// them. Each element owns its bitmaps.
#pragma once

#include "skin/data/bitmap_routines.h"

#include <QImage>

#include <string>

namespace qasp::skin {

struct SkinMargins {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

class SkinElement {
public:
    explicit SkinElement(std::string name) : Name(std::move(name)) {}
    virtual ~SkinElement() = default;

    SkinMargins Margins;
    QImage Bitmap;
    int Trans = 0;
    int Tile = 0;
    std::string Name;
    int FrameCount = 0;
    int Style = 0;
    int NormalColour = 0, MouseOverColour = 0, PressedColour = 0;  // -1: none given
    SkinColour NormalColour2 = 0, MouseOverColour2 = 0, PressedColour2 = 0;
};

// An element with a second image (borders, tabs, up-down buttons, ...).
class SkinBorder : public SkinElement {
public:
    using SkinElement::SkinElement;
    QImage Bitmap2;
};

// Push, check and radio buttons.
class SkinButton : public SkinElement {
public:
    using SkinElement::SkinElement;
    QImage CheckBitmap;
    QImage RadioBitmap;
    int RadioButtonFrame = 0, CheckButtonFrame = 0;
    bool HasNormalColour2 = false, HasMouseOverColour2 = false, HasPressedColour2 = false;
};

// The caption text. Margins hold TextShift (Left), TextShiftVert (Top) and
// TextRightClip (Right).
class SkinTitle : public SkinElement {
public:
    static constexpr SkinColour kNoColour = 0x1FFFFFFF;
    using SkinElement::SkinElement;
    int TextAlignment = 0, Textbackground = 0, FontHeight = 0, TXTBackleft = 0, TXTBackRight = 0;
    SkinColour ActiveText = kNoColour, InActiveText = kNoColour;
};

// A caption button.
class SkinCaptionButton : public SkinElement {
public:
    using SkinElement::SkinElement;
    int Action = 0, Align = 0, Xcoord = 0, Ycoord = 0, CombineOp = 0, Visibility = 0, Visibility1 = 0;
};

// A group box caption.
class SkinBoxLabel : public SkinElement {
public:
    using SkinElement::SkinElement;
    int BackgroundLeftShift = 0, BackgroundRightShift = 0, BackgroundAlignment = 0;
};

}  // namespace qasp::skin
