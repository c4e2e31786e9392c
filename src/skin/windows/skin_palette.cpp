#include "skin/windows/skin_palette.h"

#include "skin/data/readable_colour.h"
#include "skin/data/skin_model.h"

namespace qasp::skin {
namespace {

// Active and inactive alike; disabled text is set on its own.
void SetEnabled(QPalette &p, QPalette::ColorRole role, const QColor &c)
{
    p.setColor(QPalette::Active, role, c);
    p.setColor(QPalette::Inactive, role, c);
}

}  // namespace

QPalette SkinPalette(const SkinModel &model, const QPalette &plain)
{
    const SkinColourTable &c = model.Colours;
    QPalette p = plain;
    const QColor face = ToQColor(c.ButtonFace);
    p.setColor(QPalette::Window, face);
    const QColor windowText = ReadableOn(ToQColor(c.WindowText), face);
    const QColor buttonText = ReadableOn(ToQColor(c.ButtonText), face);
    SetEnabled(p, QPalette::WindowText, windowText);
    SetEnabled(p, QPalette::ButtonText, buttonText);
    // Selected rows in the skin's own highlight, which its text reads on.
    // The highlight is deepened until its text reaches 7:1: a selected row
    // shows as soon as a page opens, and the thin strokes of a small face,
    // smoothed into the ground, reach the screen well below their colour.
    QColor highlight = ToQColor(c.Hilight);
    const QColor highlightText = ReadableOn(ToQColor(c.HilightText), highlight);
    const QColor deepest = IsDark(highlightText) ? QColor(Qt::white) : QColor(Qt::black);
    for (int step = 1; step <= 20 && ContrastRatio(highlightText, highlight) < 7; ++step)
        highlight = Blend(ToQColor(c.Hilight), deepest, step * 0.05);
    p.setColor(QPalette::Highlight, highlight);
    p.setColor(QPalette::HighlightedText, highlightText);
    if (!IsDark(face))
        return p;  // a light skin keeps the plain fields and shades

    const QColor base = face.darker(125);
    const QColor text = ReadableOn(ToQColor(c.WindowText), base);
    p.setColor(QPalette::Button, face);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, face);
    SetEnabled(p, QPalette::Text, text);
    p.setColor(QPalette::Light, ToQColor(c.ButtonHilight));
    p.setColor(QPalette::Midlight, ToQColor(c.Buttonlight));
    p.setColor(QPalette::Mid, Blend(ToQColor(c.ButtonShadow), face, 0.5));
    p.setColor(QPalette::Dark, ToQColor(c.ButtonShadow));
    p.setColor(QPalette::Shadow, ToQColor(c.ButtonDkShadow));
    const QColor tip = ToQColor(c.Menu);
    p.setColor(QPalette::ToolTipBase, tip);
    p.setColor(QPalette::ToolTipText, ReadableOn(ToQColor(c.MenuText), tip));
    p.setColor(QPalette::PlaceholderText, Blend(text, base, 0.4));
    p.setColor(QPalette::BrightText, Qt::white);
    p.setColor(QPalette::Link, ReadableOn(QColor(90, 150, 220), base));
    p.setColor(QPalette::LinkVisited, ReadableOn(QColor(170, 130, 220), base));
    // Disabled text stays visibly weaker than enabled text.
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
        p.setColor(QPalette::Disabled, role, Blend(text, face, 0.5));
    return p;
}

}  // namespace qasp::skin
