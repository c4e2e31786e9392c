// The skin's shared picture and colour routines, over 24-bit images.
// Colours are 0x00BBGGRR; a value with its top byte set (negative as int32)
// is a system colour whose low byte is the Windows colour index, resolved
// through the application's palette when it is used.
#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

#include <cstdint>
#include <vector>

class QPainter;

namespace qasp::skin {

using SkinColour = int32_t;

constexpr SkinColour SystemColour(int index)
{
    return static_cast<SkinColour>(0xFF000000u | static_cast<uint32_t>(index));
}
constexpr bool IsSystemColour(SkinColour c)
{
    return c < 0;
}

// A system colour through the palette; any other as it stands.
SkinColour ResolveColour(SkinColour c);
QColor ToQColor(SkinColour c);
SkinColour FromQColor(const QColor &c);

// Every pixel's three channels become their average; the image becomes 24-bit.
void Grayscale(QImage &image);
void MirrorHorizontal(QImage &image);
void FlipVertical(QImage &image);

// Channel by channel: (b * (s - w) + a * w + s / 2) / s, with s = 100 for a
// weight below 100 and 1000 from 100 on.
SkinColour BlendColours(SkinColour a, SkinColour b, int weight);

// The n colours of a gradient from c1 to c2, from a 16-slot ring cache.
const std::vector<SkinColour> &GradientTable(int n, SkinColour c1, SkinColour c2);

// Fills rect line by line from c1 (top or left) to c2, only the lines inside
// the painter's clip region.
void GradientFill(QPainter &painter, const QRect &rect, SkinColour c1, bool vertical, SkinColour c2);

}  // namespace qasp::skin
