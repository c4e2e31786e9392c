// The skins' pieces rendered as the painters render them (frame borders at
// two sizes, each caption button in each state, a button, a check box, a
// combo box, a scroll bar, a popup menu), in both shipped skins, compared
// with golden pictures pixel by pixel. tools/update_skin_goldens.sh writes
// the goldens again; read the diff before committing it.
#include "skin/data/skin_data.h"
#include "skin/data/skin_draw.h"
#include "skin/windows/control_states.h"
#include "skin/windows/frame_drawing.h"

#include <QDir>
#include <QFile>
#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

using namespace qasp::skin;

namespace {

// The pieces are drawn on the skin's face, as on a window.
QImage Sheet(const SkinModel &m, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(ToQColor(m.Colours.ButtonFace));
    return image;
}

QImage Frame(const SkinModel &m, QSize size, bool active)
{
    QImage image = Sheet(m, size);
    QPainter p(&image);
    const int caption = m.Top.Bitmap.height() / std::max(m.Top.FrameCount, 1);
    const int side = m.Left.Bitmap.width() / std::max(m.Left.FrameCount, 1);
    const int bottom = m.Bottom.Bitmap.height() / std::max(m.Bottom.FrameCount, 1);
    DrawFrameBorder(p, m.Top, QRect(0, 0, size.width(), caption), active);
    DrawFrameBorder(p, m.Left, QRect(0, caption, side, size.height() - caption - bottom), active);
    DrawFrameBorder(p, m.Right, QRect(size.width() - side, caption, side, size.height() - caption - bottom),
                    active);
    DrawFrameBorder(p, m.Bottom, QRect(0, size.height() - bottom, size.width(), bottom), active);
    return image;
}

// Both frames, active above inactive.
QImage Frames(const SkinModel &m, QSize size)
{
    QImage image(size.width(), size.height() * 2 + 4, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter p(&image);
    p.drawImage(0, 0, Frame(m, size, true));
    p.drawImage(0, size.height() + 4, Frame(m, size, false));
    return image;
}

QImage CaptionButtons(const SkinModel &m)
{
    int width = 0, height = 0;
    for (const auto &b : m.CaptionButtons)
        if (!b->Bitmap.isNull()) {
            width = std::max(width, b->Bitmap.width() + 4);
            height += b->Bitmap.height() + 2;
        }
    QImage image = Sheet(m, QSize(width, height));
    QPainter p(&image);
    int y = 0;
    for (const auto &b : m.CaptionButtons) {
        if (b->Bitmap.isNull())
            continue;
        const int frames = std::max(b->FrameCount, 1);
        const int w = b->Bitmap.width() / frames;
        for (int state = 1; state <= frames; ++state)
            p.drawImage(QPoint((state - 1) * (w + 1), y), StateImage(b->Bitmap, frames, state));
        y += b->Bitmap.height() + 2;
    }
    return image;
}

QImage Buttons(const SkinModel &m)
{
    QImage image = Sheet(m, QSize(5 * 80, 25));
    QPainter p(&image);
    for (int state = 1; state <= 5; ++state)
        DrawSkinElement(p, m.Buttons, state, QRect((state - 1) * 80, 1, 75, 23));
    return image;
}

QImage CheckBoxes(const SkinModel &m)
{
    const int frames = m.Buttons.CheckButtonFrame;
    const int w = m.Buttons.CheckBitmap.width() / std::max(frames, 1);
    QImage image = Sheet(m, QSize(frames * (w + 2), m.Buttons.CheckBitmap.height()));
    QPainter p(&image);
    for (int state = 1; state <= frames; ++state)
        p.drawImage(QPoint((state - 1) * (w + 2), 0), StateImage(m.Buttons.CheckBitmap, frames, state));
    return image;
}

// The whole-box strip of each state, at a box's usual size.
QImage ComboBoxes(const SkinModel &m)
{
    const SkinBorder &combo = *m.ComboButton;
    QImage image = Sheet(m, QSize(130, 4 * 24));
    image.fill(Qt::white);  // the edit field shows through the strip's middle
    QPainter p(&image);
    for (int state = 1; state <= 4; ++state)
        DrawNineSlice(p, QRect(0, (state - 1) * 24, 130, 22),
                      StateImage(combo.Bitmap, combo.FrameCount, state), combo.Margins, TilesMiddle(combo));
    return image;
}

QImage ScrollBar(const SkinModel &m)
{
    const SkinElement &arrows = *m.Scrollbar;
    const int a = arrows.Bitmap.height();
    QImage image = Sheet(m, QSize(160, a));
    QPainter p(&image);
    DrawSkinElement(p, *m.HorzScroll, 1, QRect(a, 0, 160 - 2 * a, a));
    p.drawImage(QRect(0, 0, a, a),
                StateImage(arrows.Bitmap, arrows.FrameCount, ArrowFrame(true, false, false, false, true)));
    p.drawImage(QRect(160 - a, 0, a, a),
                StateImage(arrows.Bitmap, arrows.FrameCount, ArrowFrame(true, true, false, false, true)));
    DrawSkinElement(p, *m.HorzScrollThumb, 1, QRect(a + 20, 0, 50, a));
    return image;
}

QImage PopupMenu(const SkinModel &m)
{
    QImage image = Sheet(m, QSize(140, 90));
    QPainter p(&image);
    DrawSkinElement(p, *m.MenuBackground, 1, image.rect());
    DrawSkinElement(p, *m.MenuItem, 1, QRect(3, 5, 134, 20));
    DrawSkinElement(p, *m.MenuItem, 4, QRect(3, 30, 134, 20));
    return image;
}

// Channels may differ by this much: scaling may round differently.
constexpr int kTolerance = 3;

// The first pixel that differs by more than the tolerance, or (-1, -1).
QPoint FirstDifference(const QImage &a, const QImage &b)
{
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            if (std::abs(qRed(p) - qRed(q)) > kTolerance || std::abs(qGreen(p) - qGreen(q)) > kTolerance
                || std::abs(qBlue(p) - qBlue(q)) > kTolerance)
                return {x, y};
        }
    return {-1, -1};
}

class SkinGoldens : public ::testing::TestWithParam<const char *> {};

TEST_P(SkinGoldens, PiecesMatchTheirPictures)
{
    QFile file(QString(QASP_SKIN_DIR) + "/quillmere-" + GetParam() + ".skin");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    SkinData data;
    data.SetSkinStream(file.readAll().toStdString());
    ASSERT_FALSE(data.NoSkin());
    const SkinModel &m = data.Model();
    ASSERT_TRUE(m.ComboButton && m.Scrollbar && m.HorzScroll && m.HorzScrollThumb && m.MenuBackground
                && m.MenuItem);

    const std::pair<const char *, std::function<QImage()>> pieces[] = {
        {"frame-small", [&] { return Frames(m, QSize(160, 90)); }},
        {"frame-large", [&] { return Frames(m, QSize(420, 200)); }},
        {"caption-buttons", [&] { return CaptionButtons(m); }},
        {"button", [&] { return Buttons(m); }},
        {"check-box", [&] { return CheckBoxes(m); }},
        {"combo-box", [&] { return ComboBoxes(m); }},
        {"scroll-bar", [&] { return ScrollBar(m); }},
        {"popup-menu", [&] { return PopupMenu(m); }},
    };
    const bool update = qEnvironmentVariableIsSet("QASP_UPDATE_SKIN_GOLDENS");
    for (const auto &[name, render] : pieces) {
        const QImage piece = render().convertToFormat(QImage::Format_RGB32);
        const QString path = QString("%1/%2-%3.png").arg(QASP_SKIN_GOLDEN_DIR, GetParam(), name);
        if (update) {
            EXPECT_TRUE(piece.save(path)) << path.toStdString();
            continue;
        }
        const QImage golden = QImage(path).convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(golden.isNull()) << "no golden " << path.toStdString();
        ASSERT_EQ(piece.size(), golden.size()) << name;
        const QPoint at = FirstDifference(piece, golden);
        if (at.x() >= 0)
            piece.save(path + ".actual.png");  // beside the golden, to compare by eye
        EXPECT_EQ(at, QPoint(-1, -1)) << GetParam() << " " << name << " differs from its golden";
    }
}

INSTANTIATE_TEST_SUITE_P(BothSkins, SkinGoldens, ::testing::Values("light", "dusk"));

}  // namespace
