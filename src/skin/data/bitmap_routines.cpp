#include "skin/data/bitmap_routines.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>

#include <array>
#include <cstring>

namespace qasp::skin {
namespace {

// The Windows colour indexes by the palette role that plays them here.
QColor SystemColourOf(int index)
{
    const QPalette palette = QGuiApplication::palette();
    switch (index) {
    case 0: return palette.color(QPalette::Mid);  // scroll bar
    case 1:
    case 12: return palette.color(QPalette::Dark);  // desktop, MDI workspace
    case 2:
    case 27:
    case 29: return palette.color(QPalette::Highlight);  // active caption, menu highlight
    case 3:
    case 28: return palette.color(QPalette::Mid);  // inactive caption
    case 4:
    case 30: return palette.color(QPalette::Window);  // menu, menu bar
    case 5: return palette.color(QPalette::Base);     // window
    case 6:
    case 21: return palette.color(QPalette::Shadow);     // frame, 3-D dark shadow
    case 7: return palette.color(QPalette::WindowText);  // menu text
    case 8: return palette.color(QPalette::Text);        // window text
    case 9:
    case 14: return palette.color(QPalette::HighlightedText);  // caption text, highlight text
    case 10:
    case 11:
    case 15: return palette.color(QPalette::Button);  // borders, button face
    case 13: return palette.color(QPalette::Highlight);
    case 16: return palette.color(QPalette::Dark);                      // button shadow
    case 17: return palette.color(QPalette::Disabled, QPalette::Text);  // grey text
    case 18: return palette.color(QPalette::ButtonText);
    case 19: return palette.color(QPalette::Disabled, QPalette::WindowText);  // inactive caption text
    case 20: return palette.color(QPalette::Light);                           // button highlight
    case 22: return palette.color(QPalette::Midlight);                        // 3-D light
    case 23: return palette.color(QPalette::ToolTipText);
    case 24: return palette.color(QPalette::ToolTipBase);
    case 26: return palette.color(QPalette::Link);  // hot-tracked item
    default: return palette.color(QPalette::Window);
    }
}

uint8_t Channel(SkinColour c, int shift)
{
    return static_cast<uint8_t>((c >> shift) & 0xFF);
}

QImage To24Bit(const QImage &image)
{
    return image.format() == QImage::Format_RGB888 ? image : image.convertToFormat(QImage::Format_RGB888);
}

struct GradientCache {
    std::array<std::vector<SkinColour>, 16> ring;
    size_t next = 0;
};

GradientCache &Cache()
{
    static GradientCache cache;
    return cache;
}

}  // namespace

SkinColour ResolveColour(SkinColour c)
{
    return IsSystemColour(c) ? FromQColor(SystemColourOf(c & 0xFF)) : c;
}

QColor ToQColor(SkinColour c)
{
    c = ResolveColour(c);
    return {Channel(c, 0), Channel(c, 8), Channel(c, 16)};
}

SkinColour FromQColor(const QColor &c)
{
    return c.red() | c.green() << 8 | c.blue() << 16;
}

void Grayscale(QImage &image)
{
    image = To24Bit(image);
    for (int y = 0; y < image.height(); ++y) {
        uchar *row = image.scanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            uchar *p = row + 3 * qsizetype{x};
            const auto grey = static_cast<uchar>((p[0] + p[1] + p[2]) / 3);
            p[0] = p[1] = p[2] = grey;
        }
    }
}

void MirrorHorizontal(QImage &image)
{
    const QImage source = To24Bit(image);
    QImage out(source.size(), QImage::Format_RGB888);
    for (int y = 0; y < source.height(); ++y) {
        const uchar *from = source.constScanLine(y);
        uchar *to = out.scanLine(y);
        for (int x = 0; x < source.width(); ++x)
            std::memcpy(to + 3 * qsizetype{x}, from + 3 * qsizetype{source.width() - 1 - x}, 3);
    }
    image = out;
}

void FlipVertical(QImage &image)
{
    const QImage source = To24Bit(image);
    QImage out(source.size(), QImage::Format_RGB888);
    for (int y = 0; y < source.height(); ++y)
        std::memcpy(out.scanLine(source.height() - 1 - y), source.constScanLine(y),
                    3 * static_cast<size_t>(source.width()));
    image = out;
}

SkinColour BlendColours(SkinColour a, SkinColour b, int weight)
{
    a = ResolveColour(a);
    b = ResolveColour(b);
    const int s = weight < 100 ? 100 : 1000;
    SkinColour out = 0;
    for (int shift : {0, 8, 16}) {
        const int v = (Channel(b, shift) * (s - weight) + Channel(a, shift) * weight + s / 2) / s;
        out |= (v & 0xFF) << shift;
    }
    return out;
}

const std::vector<SkinColour> &GradientTable(int n, SkinColour c1, SkinColour c2)
{
    GradientCache &cache = Cache();
    for (const auto &table : cache.ring)
        if (static_cast<int>(table.size()) == n && table.front() == c1 && table.back() == c2)
            return table;
    std::vector<SkinColour> table(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        SkinColour c = 0;
        for (int shift : {0, 8, 16}) {
            const int from = Channel(c1, shift);
            const int d = Channel(c2, shift) - from;
            const int e = n - 1;
            const int v = n == 1 ? from + d / 2 : from + (e / 2 + i * d) / e;
            c |= (v & 0xFF) << shift;
        }
        table[static_cast<size_t>(i)] = c;
    }
    std::vector<SkinColour> &slot = cache.ring[cache.next];
    cache.next = (cache.next + 1) % cache.ring.size();
    slot = std::move(table);
    return slot;
}

void GradientFill(QPainter &painter, const QRect &rect, SkinColour c1, bool vertical, SkinColour c2)
{
    const QRect clip = painter.hasClipping() ? painter.clipBoundingRect().toAlignedRect() : rect;
    if (!clip.intersects(rect))
        return;
    c1 = ResolveColour(c1);
    c2 = ResolveColour(c2);
    const int n = vertical ? rect.height() : rect.width();
    if (n <= 0)
        return;
    const int start = vertical ? rect.top() : rect.left();
    const int clipStart = vertical ? clip.top() : clip.left();
    const int clipEnd = vertical ? clip.bottom() + 1 : clip.right() + 1;  // one past
    const int first = clipStart > start ? clipStart - start : 0;
    const int last = clipEnd < start + n ? clipEnd - start - 1 : n - 1;
    const std::vector<SkinColour> &table = GradientTable(n, c1, c2);
    for (int i = first; i <= last; ++i) {
        const QRect line = vertical ? QRect(rect.left(), start + i, rect.width(), 1)
                                    : QRect(start + i, rect.top(), 1, rect.height());
        painter.fillRect(line, ToQColor(table[static_cast<size_t>(i)]));
    }
}

}  // namespace qasp::skin
