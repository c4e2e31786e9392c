// Draws the pictures of the program's skins, so that they can be made again
// from this source: skin_painter OUTPUT_DIR light|dark|program
//
// light and dark write the pictures their description (resources/skin/
// NAME/NAME.ini, kept by hand) names; program writes the pictures the
// program carries beside any skin (the track grooves and the menu glyphs).
#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>
#include <functional>

namespace {

const QColor kMagenta(255, 0, 255);

struct Palette {
    QColor captionTop, captionBottom, captionInactiveTop, captionInactiveBottom;
    QColor frame, frameInactive, frameOutline;
    QColor face, faceLight, faceDark, text, disabledText;
    QColor buttonTop, buttonBottom, buttonBorder, hotBorder, hotTop, hotBottom, pressedTop, pressedBottom;
    QColor field, fieldBorder, accent, accentLight;
    QColor glyph, captionGlyph, closeHot;
};

Palette Light()
{
    return {QColor(0x4A, 0x7A, 0xAE), QColor(0x35, 0x62, 0x93), QColor(0xB4, 0xBD, 0xC6),
            QColor(0xA3, 0xAD, 0xB8), QColor(0x35, 0x62, 0x93), QColor(0xA3, 0xAD, 0xB8),
            QColor(0x22, 0x44, 0x6A), QColor(0xF1, 0xF1, 0xEC), QColor(0xFF, 0xFF, 0xFF),
            QColor(0xC9, 0xC9, 0xC2), QColor(0x20, 0x20, 0x20), QColor(0x9A, 0x9A, 0x94),
            QColor(0xFD, 0xFD, 0xFB), QColor(0xE6, 0xE6, 0xE0), QColor(0xA8, 0xA8, 0xA1),
            QColor(0x4F, 0x84, 0xC0), QColor(0xF4, 0xF8, 0xFD), QColor(0xDC, 0xE8, 0xF5),
            QColor(0xD2, 0xDC, 0xE8), QColor(0xE4, 0xEA, 0xF1), QColor(0xFF, 0xFF, 0xFF),
            QColor(0xA8, 0xAE, 0xB6), QColor(0x35, 0x62, 0x93), QColor(0xC7, 0xD9, 0xEE),
            QColor(0x50, 0x50, 0x50), QColor(0xFF, 0xFF, 0xFF), QColor(0xD9, 0x4A, 0x3D)};
}

Palette Dark()
{
    return {QColor(0x3A, 0x40, 0x49), QColor(0x2B, 0x30, 0x37), QColor(0x45, 0x48, 0x4D),
            QColor(0x3B, 0x3E, 0x43), QColor(0x2B, 0x30, 0x37), QColor(0x3B, 0x3E, 0x43),
            QColor(0x16, 0x18, 0x1B), QColor(0x33, 0x36, 0x3B), QColor(0x4A, 0x4E, 0x55),
            QColor(0x24, 0x26, 0x2A), QColor(0xE2, 0xE2, 0xDE), QColor(0x7A, 0x7D, 0x82),
            QColor(0x4A, 0x4F, 0x57), QColor(0x3C, 0x40, 0x47), QColor(0x22, 0x24, 0x28),
            QColor(0x6F, 0xA3, 0xD8), QColor(0x55, 0x5C, 0x66), QColor(0x46, 0x4D, 0x57),
            QColor(0x2C, 0x30, 0x36), QColor(0x34, 0x38, 0x3F), QColor(0x26, 0x28, 0x2C),
            QColor(0x1C, 0x1E, 0x21), QColor(0x6F, 0xA3, 0xD8), QColor(0x3E, 0x5A, 0x78),
            QColor(0xC8, 0xC8, 0xC4), QColor(0xE8, 0xE8, 0xE8), QColor(0xC8, 0x45, 0x3A)};
}

QColor Mix(const QColor &a, const QColor &b, double t)
{
    return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * t, a.greenF() + (b.greenF() - a.greenF()) * t,
                            a.blueF() + (b.blueF() - a.blueF()) * t);
}

void VerticalGradient(QPainter &p, const QRect &r, const QColor &top, const QColor &bottom)
{
    for (int y = 0; y < r.height(); ++y)
        p.fillRect(QRect(r.left(), r.top() + y, r.width(), 1),
                   Mix(top, bottom, r.height() > 1 ? double(y) / (r.height() - 1) : 0));
}

void Outline(QPainter &p, const QRect &r, const QColor &c)
{
    p.setPen(c);
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0, 0, -1, -1));
}

// A rounded-corner box: the four corner pixels take the background.
void Box(QPainter &p, const QRect &r, const QColor &top, const QColor &bottom, const QColor &border,
         const QColor &corner)
{
    VerticalGradient(p, r, top, bottom);
    Outline(p, r, border);
    for (const QPoint &pt : {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight()})
        p.fillRect(QRect(pt, QSize(1, 1)), corner);
}

// A strip of `frames` images side by side, each drawn by `draw`.
QImage Strip(int frames, QSize cell, const QColor &background,
             const std::function<void(QPainter &, const QRect &, int)> &draw, bool vertical = false)
{
    QImage image(vertical ? QSize(cell.width(), cell.height() * frames)
                          : QSize(cell.width() * frames, cell.height()),
                 QImage::Format_RGB888);
    image.fill(background);
    QPainter p(&image);
    for (int i = 0; i < frames; ++i) {
        const QRect r(vertical ? QPoint(0, i * cell.height()) : QPoint(i * cell.width(), 0), cell);
        p.save();
        p.setClipRect(r);
        draw(p, r, i + 1);
        p.restore();
    }
    return image;
}

// Glyphs on a pixel grid, so they stay crisp.
void Arrow(QPainter &p, const QRect &r, const QColor &c, char direction, int size = 4)
{
    const QPoint centre = r.center();
    for (int i = 0; i < size; ++i) {
        const int half = size - 1 - i;
        switch (direction) {
        case 'd': p.fillRect(QRect(centre.x() - half, centre.y() - size / 2 + i, 2 * half + 1, 1), c); break;
        case 'u': p.fillRect(QRect(centre.x() - i, centre.y() - size / 2 + i, 2 * i + 1, 1), c); break;
        case 'r': p.fillRect(QRect(centre.x() - size / 2 + i, centre.y() - half, 1, 2 * half + 1), c); break;
        case 'l': p.fillRect(QRect(centre.x() - size / 2 + i, centre.y() - i, 1, 2 * i + 1), c); break;
        }
    }
}

void Save(const QImage &image, const QString &dir, const char *name)
{
    const QString path = QDir(dir).filePath(name);
    if (!image.convertToFormat(QImage::Format_RGB888).save(path, "BMP")) {
        std::fprintf(stderr, "skin_painter: cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
}

constexpr int kCaption = 26;  // caption height
constexpr int kBorder = 4;

void PaintFrame(const Palette &c, const QString &dir)
{
    // The caption strip: two states stacked, active first.
    QImage top(64, 2 * kCaption, QImage::Format_RGB888);
    {
        QPainter p(&top);
        VerticalGradient(p, QRect(0, 0, 64, kCaption), c.captionTop, c.captionBottom);
        VerticalGradient(p, QRect(0, kCaption, 64, kCaption), c.captionInactiveTop, c.captionInactiveBottom);
        p.fillRect(QRect(0, 0, 64, 1), c.frameOutline);
        p.fillRect(QRect(0, 1, 64, 1), Mix(c.captionTop, Qt::white, 0.25));
        p.fillRect(QRect(0, kCaption, 64, 1), c.frameOutline);
        p.fillRect(QRect(0, kCaption + 1, 64, 1), Mix(c.captionInactiveTop, Qt::white, 0.25));
    }
    Save(top, dir, "top.bmp");

    // The side borders: the caption's rows at the top, the frame below; the
    // outer corner pixels are magenta so that the window's corners round off.
    const auto side = [&c](bool left) {
        QImage image(2 * kBorder, 40, QImage::Format_RGB888);
        QPainter p(&image);
        for (int state = 0; state < 2; ++state) {
            const QRect r(state * kBorder, 0, kBorder, 40);
            const bool active = state == 0;
            VerticalGradient(p, QRect(r.left(), 0, kBorder, kCaption),
                             active ? c.captionTop : c.captionInactiveTop,
                             active ? c.captionBottom : c.captionInactiveBottom);
            p.fillRect(QRect(r.left(), kCaption, kBorder, 40 - kCaption), active ? c.frame : c.frameInactive);
            const int outer = left ? r.left() : r.right();
            const int inner = left ? r.right() : r.left();
            p.fillRect(QRect(outer, 0, 1, 40), c.frameOutline);
            p.fillRect(QRect(r.left(), 0, kBorder, 1), c.frameOutline);
            p.fillRect(QRect(inner, kCaption, 1, 40 - kCaption),
                       Mix(active ? c.frame : c.frameInactive, Qt::black, 0.2));
            // Rounded top corner.
            const int step = left ? 1 : -1;
            p.fillRect(QRect(outer, 0, 1, 1), kMagenta);
            p.fillRect(QRect(outer + step, 0, 1, 1), kMagenta);
            p.fillRect(QRect(outer, 1, 1, 1), kMagenta);
            p.fillRect(QRect(outer + step, 1, 1, 1), c.frameOutline);
        }
        return image;
    };
    Save(side(true), dir, "left.bmp");
    Save(side(false), dir, "right.bmp");

    QImage bottom(16, 2 * kBorder, QImage::Format_RGB888);
    {
        QPainter p(&bottom);
        for (int state = 0; state < 2; ++state) {
            const QRect r(0, state * kBorder, 16, kBorder);
            p.fillRect(r, state == 0 ? c.frame : c.frameInactive);
            p.fillRect(QRect(0, r.bottom(), 16, 1), c.frameOutline);
            p.fillRect(QRect(0, r.top(), 16, 1), Mix(state == 0 ? c.frame : c.frameInactive, Qt::black, 0.2));
        }
    }
    Save(bottom, dir, "bottom.bmp");
}

// Caption buttons: normal, pressed, hot; drawn on the caption's own rows.
void PaintCaptionButtons(const Palette &c, const QString &dir)
{
    constexpr int kY = 4, kSize = 18;
    const auto button = [&c](const std::function<void(QPainter &, const QRect &, const QColor &)> &glyph,
                             bool danger) {
        return Strip(3, QSize(kSize, kSize), c.captionTop, [&](QPainter &p, const QRect &r, int state) {
            // The background continues the caption gradient at these rows.
            for (int y = 0; y < kSize; ++y)
                p.fillRect(QRect(r.left(), r.top() + y, kSize, 1),
                           Mix(c.captionTop, c.captionBottom, double(kY + y) / (kCaption - 1)));
            if (state != 1) {
                const QColor fill = danger ? c.closeHot : Mix(c.captionTop, Qt::white, 0.3);
                const QColor pressed =
                    danger ? Mix(c.closeHot, Qt::black, 0.25) : Mix(c.captionTop, Qt::black, 0.25);
                const QColor f = state == 2 ? pressed : fill;
                Box(p, r, f, f, Mix(f, Qt::black, 0.2), Mix(c.captionTop, c.captionBottom, 0.5));
            }
            glyph(p, r, c.captionGlyph);
        });
    };
    Save(button(
             [](QPainter &p, const QRect &r, const QColor &g) {
                 for (int i = 0; i < 8; ++i) {
                     p.fillRect(QRect(r.left() + 5 + i, r.top() + 5 + i, 2, 1), g);
                     p.fillRect(QRect(r.left() + 12 - i, r.top() + 5 + i, 2, 1), g);
                 }
             },
             true),
         dir, "close.bmp");
    Save(button(
             [](QPainter &p, const QRect &r, const QColor &g) {
                 Outline(p, QRect(r.left() + 4, r.top() + 4, 10, 10), g);
                 p.fillRect(QRect(r.left() + 4, r.top() + 5, 10, 1), g);
             },
             false),
         dir, "max.bmp");
    Save(button(
             [](QPainter &p, const QRect &r, const QColor &g) {
                 Outline(p, QRect(r.left() + 6, r.top() + 4, 8, 7), g);
                 p.fillRect(QRect(r.left() + 4, r.top() + 7, 8, 7), QColor(0, 0, 0, 0));
                 Outline(p, QRect(r.left() + 4, r.top() + 7, 8, 7), g);
                 p.fillRect(QRect(r.left() + 4, r.top() + 8, 8, 1), g);
             },
             false),
         dir, "restore.bmp");
    Save(button([](QPainter &p, const QRect &r,
                   const QColor &g) { p.fillRect(QRect(r.left() + 5, r.top() + 12, 8, 2), g); },
                false),
         dir, "min.bmp");

    // The maximised MDI child's buttons: minimise, restore, close; each
    // normal, pressed, hot, inactive.
    QImage mdi(12 * 16, 14, QImage::Format_RGB888);
    mdi.fill(c.face);
    {
        QPainter p(&mdi);
        for (int b = 0; b < 3; ++b)
            for (int s = 0; s < 4; ++s) {
                const QRect r((b * 4 + s) * 16, 0, 16, 14);
                if (s == 1 || s == 2)
                    Box(p, r, s == 1 ? c.pressedTop : c.hotTop, s == 1 ? c.pressedBottom : c.hotBottom,
                        s == 1 ? c.buttonBorder : c.hotBorder, c.face);
                const QColor g = s == 3 ? c.disabledText : c.glyph;
                if (b == 0)
                    p.fillRect(QRect(r.left() + 4, r.top() + 9, 8, 2), g);
                else if (b == 1)
                    Outline(p, QRect(r.left() + 4, r.top() + 3, 8, 8), g);
                else
                    for (int i = 0; i < 7; ++i) {
                        p.fillRect(QRect(r.left() + 4 + i, r.top() + 3 + i, 1, 1), g);
                        p.fillRect(QRect(r.left() + 10 - i, r.top() + 3 + i, 1, 1), g);
                    }
            }
    }
    Save(mdi, dir, "mdi.bmp");
}

void PaintButtons(const Palette &c, const QString &dir)
{
    // Push button: normal, pressed, disabled, hot (and focused), default.
    Save(Strip(5, QSize(24, 22), c.face,
               [&c](QPainter &p, const QRect &r, int s) {
                   switch (s) {
                   case 1: Box(p, r, c.buttonTop, c.buttonBottom, c.buttonBorder, c.face); break;
                   case 2: Box(p, r, c.pressedTop, c.pressedBottom, c.buttonBorder, c.face); break;
                   case 3: Box(p, r, c.face, c.face, Mix(c.buttonBorder, c.face, 0.5), c.face); break;
                   default: Box(p, r, c.hotTop, c.hotBottom, c.hotBorder, c.face); break;
                   }
               }),
         dir, "button.bmp");
    // Check box and radio button: unchecked, checked, unchecked disabled, checked disabled.
    const auto glyphs = [&c](bool radio) {
        return Strip(4, QSize(13, 13), kMagenta, [&c, radio](QPainter &p, const QRect &r, int s) {
            const bool disabled = s >= 3, checked = s % 2 == 0;
            const QColor border = disabled ? Mix(c.fieldBorder, c.face, 0.5) : c.fieldBorder;
            const QColor fill = disabled ? c.face : c.field;
            const QColor mark = disabled ? c.disabledText : c.accent;
            if (radio) {
                p.setRenderHint(QPainter::Antialiasing, false);
                p.setPen(border);
                p.setBrush(fill);
                p.drawEllipse(r.adjusted(0, 0, -1, -1));
                if (checked)
                    p.fillRect(QRect(r.left() + 4, r.top() + 4, 5, 5), mark);
            } else {
                p.fillRect(r, fill);
                Outline(p, r, border);
                if (checked)
                    for (int i = 0; i < 3; ++i) {
                        p.fillRect(QRect(r.left() + 3 + i, r.top() + 6 + i, 1, 2), mark);
                        p.fillRect(QRect(r.left() + 6 + i, r.top() + 8 - i, 1, 2), mark);
                        p.fillRect(QRect(r.left() + 8 + i, r.top() + 6 - 2 * i, 1, 2), mark);
                    }
            }
        });
    };
    Save(glyphs(false), dir, "check.bmp");
    Save(glyphs(true), dir, "radio.bmp");
}

void PaintScrollBars(const Palette &c, const QString &dir)
{
    constexpr int kS = 17;
    // 23 frames: left, right, up, down arrows (normal, pressed, disabled,
    // hot each), the horizontal and vertical grips (normal, dragged, hot),
    // and the size-grip corner.
    Save(Strip(23, QSize(kS, kS), c.face,
               [&c](QPainter &p, const QRect &r, int frame) {
                   p.fillRect(r, Mix(c.face, c.faceDark, 0.3));
                   if (frame <= 16) {
                       const int state = (frame - 1) % 4;  // 0 normal, 1 pressed, 2 disabled, 3 hot
                       if (state == 1 || state == 3)
                           p.fillRect(r.adjusted(1, 1, -1, -1), state == 1 ? c.accent : c.accentLight);
                       const char arrow = "lrud"[(frame - 1) / 4];
                       Arrow(p, r, state == 2 ? c.disabledText : (state == 1 ? c.field : c.glyph), arrow);
                   } else if (frame <= 22) {
                       p.fillRect(r, kMagenta);
                       const int state = (frame - 17) % 3;
                       const QColor g = state == 0 ? c.glyph : c.accent;
                       const bool vertical = frame >= 20;
                       for (int i = 0; i < 3; ++i)
                           p.fillRect(vertical ? QRect(r.left() + 5, r.top() + 6 + 2 * i, 7, 1)
                                               : QRect(r.left() + 6 + 2 * i, r.top() + 5, 1, 7),
                                      g);
                   } else {
                       for (int i = 0; i < 3; ++i)
                           for (int j = 0; j <= i; ++j)
                               p.fillRect(QRect(r.right() - 3 - 4 * j, r.bottom() - 3 - 4 * (i - j), 2, 2),
                                          c.faceDark);
                   }
               }),
         dir, "scrollbar.bmp");
    const auto track = [&c](bool vertical) {
        return Strip(4, vertical ? QSize(kS, 20) : QSize(20, kS), c.face,
                     [&c, vertical](QPainter &p, const QRect &r, int s) {
                         p.fillRect(r, s == 3 ? c.face : Mix(c.face, c.faceDark, 0.3));
                         p.fillRect(vertical ? QRect(r.left(), r.top(), 1, r.height())
                                             : QRect(r.left(), r.top(), r.width(), 1),
                                    Mix(c.face, c.faceDark, 0.6));
                     });
    };
    Save(track(false), dir, "hscroll.bmp");
    Save(track(true), dir, "vscroll.bmp");
    const auto thumb = [&c](bool vertical) {
        return Strip(3, vertical ? QSize(kS, 20) : QSize(20, kS), c.face,
                     [&c, vertical](QPainter &p, const QRect &r, int s) {
                         p.fillRect(r, Mix(c.face, c.faceDark, 0.3));
                         const QRect body = vertical ? r.adjusted(3, 1, -3, -1) : r.adjusted(1, 3, -1, -3);
                         const QColor fill =
                             s == 1 ? Mix(c.faceDark, c.face, 0.2) : (s == 2 ? c.accent : c.accentLight);
                         Box(p, body, fill, fill, Mix(fill, Qt::black, 0.15), Mix(c.face, c.faceDark, 0.3));
                     });
    };
    Save(thumb(false), dir, "hthumb.bmp");
    Save(thumb(true), dir, "vthumb.bmp");
}

void PaintFields(const Palette &c, const QString &dir)
{
    // Edit border (SunkEdge): normal, pressed, disabled, hot.
    Save(Strip(4, QSize(20, 20), c.face,
               [&c](QPainter &p, const QRect &r, int s) {
                   p.fillRect(r, s == 3 ? c.face : c.field);
                   Outline(p, r, s == 4 || s == 2 ? c.hotBorder : c.fieldBorder);
               }),
         dir, "sunkedge.bmp");
    Save(Strip(4, QSize(18, 20), c.face,
               [&c](QPainter &p, const QRect &r, int s) {
                   const QRect b = r.adjusted(1, 1, -1, -1);
                   if (s == 2)
                       VerticalGradient(p, b, c.pressedTop, c.pressedBottom);
                   else if (s == 4)
                       VerticalGradient(p, b, c.hotTop, c.hotBottom);
                   else
                       VerticalGradient(p, b, c.buttonTop, c.buttonBottom);
                   p.fillRect(QRect(b.left(), b.top(), 1, b.height()), c.fieldBorder);
               }),
         dir, "combobutton.bmp");
    // The combo box's arrow, one per state.
    Save(Strip(5, QSize(11, 7), kMagenta,
               [&c](QPainter &p, const QRect &r, int s) {
                   Arrow(p, r, s == 3 ? c.disabledText : c.glyph, 'd');
               }),
         dir, "extraimages.bmp");
    Save(Strip(2, QSize(20, 12), c.face,
               [&c](QPainter &p, const QRect &r, int s) {
                   p.fillRect(r, c.field);
                   Outline(p, r, s == 1 ? c.fieldBorder : Mix(c.fieldBorder, c.face, 0.5));
               }),
         dir, "progress.bmp");
    QImage chunk(8, 12, QImage::Format_RGB888);
    {
        QPainter p(&chunk);
        VerticalGradient(p, chunk.rect(), Mix(c.accent, Qt::white, 0.3), c.accent);
    }
    Save(chunk, dir, "progresschunk.bmp");
    // Up-down buttons: up/left half then down/right half, four states each.
    for (bool vertical : {true, false}) {
        Save(Strip(8, QSize(16, 11), c.face,
                   [&c](QPainter &p, const QRect &r, int s) {
                       const int state = (s - 1) % 4;
                       Box(p, r, state == 1 ? c.pressedTop : (state == 3 ? c.hotTop : c.buttonTop),
                           state == 1 ? c.pressedBottom : (state == 3 ? c.hotBottom : c.buttonBottom),
                           state == 3 ? c.hotBorder : c.buttonBorder, c.face);
                   }),
             dir, vertical ? "updownv.bmp" : "updownh.bmp");
        Save(Strip(8, QSize(16, 11), kMagenta,
                   [&c, vertical](QPainter &p, const QRect &r, int s) {
                       const bool first = s <= 4;
                       Arrow(p, r, (s - 1) % 4 == 2 ? c.disabledText : c.glyph,
                             vertical ? (first ? 'u' : 'd') : (first ? 'l' : 'r'), 3);
                   }),
             dir, vertical ? "updownvglyph.bmp" : "updownhglyph.bmp");
    }
}

void PaintBars(const Palette &c, const QString &dir)
{
    // Tabs: normal, pressed (selected), disabled, hot, selected hot.
    Save(Strip(5, QSize(30, 22), c.face,
               [&c](QPainter &p, const QRect &r, int s) {
                   const bool selected = s == 2 || s == 5;
                   const QRect tab = selected ? r : r.adjusted(0, 2, 0, 0);
                   VerticalGradient(p, tab, selected ? c.field : (s == 4 ? c.hotTop : c.buttonTop),
                                    selected ? c.field : c.buttonBottom);
                   Outline(p, tab.adjusted(0, 0, 0, 1), selected ? c.fieldBorder : c.buttonBorder);
                   if (selected)
                       p.fillRect(QRect(tab.left() + 1, tab.top(), tab.width() - 2, 2), c.accent);
               }),
         dir, "tabs.bmp");
    Save(Strip(1, QSize(20, 20), c.face,
               [&c](QPainter &p, const QRect &r, int) {
                   p.fillRect(r, c.field);
                   Outline(p, r, c.fieldBorder);
               }),
         dir, "tabborder.bmp");
    // Status bar panels: panel, size-grip corner, bar background.
    Save(Strip(3, QSize(12, 18), c.face,
               [&c](QPainter &p, const QRect &r, int s) {
                   p.fillRect(r, c.face);
                   if (s == 1) {
                       Outline(p, r, Mix(c.face, c.faceDark, 0.8));
                   } else if (s == 2) {
                       for (int i = 0; i < 3; ++i)
                           for (int j = 0; j <= i; ++j)
                               p.fillRect(QRect(r.right() - 3 - 4 * j, r.bottom() - 3 - 4 * (i - j), 2, 2),
                                          c.faceDark);
                   } else {
                       p.fillRect(QRect(r.left(), r.top(), r.width(), 1), c.faceDark);
                   }
               }),
         dir, "statusbaredges.bmp");
    // Tool bar buttons: normal, pressed, disabled, hot, checked.
    Save(Strip(5, QSize(24, 24), c.face,
               [&c](QPainter &p, const QRect &r, int s) {
                   p.fillRect(r, c.face);
                   if (s == 2 || s == 5)
                       Box(p, r, c.pressedTop, c.pressedBottom, c.buttonBorder, c.face);
                   else if (s == 4)
                       Box(p, r, c.hotTop, c.hotBottom, c.hotBorder, c.face);
               }),
         dir, "toolbars.bmp");
    Save(Strip(2, QSize(20, 20), c.face,
               [&c](QPainter &p, const QRect &r, int s) {
                   p.fillRect(r, c.face);
                   Outline(p, r.adjusted(0, 0, 0, 0), s == 1 ? c.faceDark : Mix(c.faceDark, c.face, 0.5));
               }),
         dir, "groupboxedge.bmp");
    Save(Strip(1, QSize(20, 16), c.face, [&c](QPainter &p, const QRect &r, int) { p.fillRect(r, c.face); }),
         dir, "groupbox.bmp");
    // Header sections: normal, pressed, disabled, hot, sorted.
    Save(Strip(5, QSize(20, 20), c.face,
               [&c](QPainter &p, const QRect &r, int s) {
                   VerticalGradient(p, r, s == 4 ? c.hotTop : c.buttonTop,
                                    s == 2 ? c.pressedBottom : c.buttonBottom);
                   p.fillRect(QRect(r.right(), r.top() + 3, 1, r.height() - 6), c.buttonBorder);
                   p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), c.buttonBorder);
               }),
         dir, "headerbar.bmp");
    // The menu bar row, active above inactive.
    Save(Strip(
             2, QSize(20, 22), c.face,
             [&c](QPainter &p, const QRect &r, int s) {
                 VerticalGradient(p, r, s == 1 ? c.faceLight : c.face, c.face);
                 p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), c.faceDark);
             },
             true),
         dir, "menubar.bmp");
    // Menu items: normal, pressed, disabled, selected, checked.
    Save(Strip(5, QSize(20, 20), c.field,
               [&c](QPainter &p, const QRect &r, int s) {
                   p.fillRect(r, c.field);
                   if (s == 4 || s == 2)
                       Box(p, r, c.accentLight, c.accentLight, c.accent, c.field);
               }),
         dir, "menuitem.bmp");
    Save(Strip(1, QSize(20, 20), c.field,
               [&c](QPainter &p, const QRect &r, int) {
                   p.fillRect(r, c.field);
                   p.fillRect(QRect(r.left() + 1, r.top() + 1, 24, r.height() - 2), c.face);
                   Outline(p, r, c.fieldBorder);
               }),
         dir, "menubackground.bmp");
}

void PaintTrackbarThumbs(const Palette &c, const QString &dir)
{
    // Normal, pressed, disabled, hot, focused; a plain bar and four pointers.
    const auto thumb = [&c](QSize size, char point) {
        return Strip(5, size, kMagenta, [&c, point](QPainter &p, const QRect &r, int s) {
            const QColor fill = s == 2 ? c.accent : (s == 4 || s == 5 ? c.hotTop : c.buttonTop);
            const QColor border =
                s == 3 ? Mix(c.buttonBorder, c.face, 0.5) : (s == 4 ? c.hotBorder : c.buttonBorder);
            QRect body = r;
            if (point == 'd')
                body.setBottom(r.bottom() - 4);
            if (point == 'u')
                body.setTop(r.top() + 4);
            if (point == 'r')
                body.setRight(r.right() - 4);
            if (point == 'l')
                body.setLeft(r.left() + 4);
            Box(p, body, fill, fill, border, kMagenta);
            if (point != 'n')
                Arrow(p,
                      point == 'd'   ? QRect(r.left(), r.bottom() - 4, r.width(), 4)
                      : point == 'u' ? QRect(r.left(), r.top(), r.width(), 4)
                      : point == 'r' ? QRect(r.right() - 4, r.top(), 4, r.height())
                                     : QRect(r.left(), r.top(), 4, r.height()),
                      border, point, 4);
        });
    };
    Save(thumb(QSize(11, 20), 'n'), dir, "thumbhorz.bmp");
    Save(thumb(QSize(20, 11), 'n'), dir, "thumbvert.bmp");
    Save(thumb(QSize(11, 20), 'd'), dir, "thumbdown.bmp");
    Save(thumb(QSize(11, 20), 'u'), dir, "thumbup.bmp");
    Save(thumb(QSize(20, 11), 'r'), dir, "thumbright.bmp");
    Save(thumb(QSize(20, 11), 'l'), dir, "thumbleft.bmp");
}

// The program's own pictures: the track grooves and the four menu glyphs
// (restore, maximise, minimise, close) in black on white.
void PaintProgram(const QString &dir)
{
    // A sunken groove: dark grey and light grey along its upper (left) edge.
    for (bool vertical : {false, true}) {
        QImage groove(vertical ? QSize(4, 16) : QSize(16, 4), QImage::Format_RGB888);
        groove.fill(Qt::white);
        QPainter p(&groove);
        const QSize along = vertical ? QSize(1, 16) : QSize(16, 1);
        p.fillRect(QRect(QPoint(0, 0), along), QColor(0x80, 0x80, 0x80));
        p.fillRect(QRect(vertical ? QPoint(1, 0) : QPoint(0, 1), along), QColor(0xC0, 0xC0, 0xC0));
        p.fillRect(QRect(QPoint(0, 0), vertical ? QSize(4, 1) : QSize(1, 4)), QColor(0x80, 0x80, 0x80));
        p.end();
        Save(groove, dir, vertical ? "trackvert.bmp" : "track.bmp");
    }
    QImage glyphs(64, 16, QImage::Format_RGB888);
    glyphs.fill(Qt::white);
    {
        QPainter p(&glyphs);
        const QColor k = Qt::black;
        Outline(p, QRect(6, 3, 7, 6), k);
        p.fillRect(QRect(6, 4, 7, 1), k);
        p.fillRect(QRect(3, 6, 7, 7), Qt::white);
        Outline(p, QRect(3, 6, 7, 7), k);
        p.fillRect(QRect(3, 7, 7, 1), k);
        Outline(p, QRect(16 + 3, 3, 10, 10), k);
        p.fillRect(QRect(16 + 3, 4, 10, 2), k);
        p.fillRect(QRect(32 + 4, 11, 8, 2), k);
        for (int i = 0; i < 8; ++i) {
            p.fillRect(QRect(48 + 4 + i, 4 + i, 1, 1), k);
            p.fillRect(QRect(48 + 11 - i, 4 + i, 1, 1), k);
        }
    }
    Save(glyphs.convertToFormat(QImage::Format_Mono).convertToFormat(QImage::Format_RGB888), dir,
         "menuglyphs.bmp");
}

}  // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: skin_painter OUTPUT_DIR light|dark|program\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    const QString which = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(dir);
    if (which == "program") {
        PaintProgram(dir);
        return 0;
    }
    if (which != "light" && which != "dark") {
        std::fprintf(stderr, "skin_painter: no skin named %s\n", argv[2]);
        return 2;
    }
    const Palette c = which == "light" ? Light() : Dark();
    PaintFrame(c, dir);
    PaintCaptionButtons(c, dir);
    PaintButtons(c, dir);
    PaintScrollBars(c, dir);
    PaintFields(c, dir);
    PaintBars(c, dir);
    PaintTrackbarThumbs(c, dir);
    return 0;
}
