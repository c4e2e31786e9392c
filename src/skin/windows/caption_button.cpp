#include "skin/windows/caption_button.h"

#include "skin/data/skin_draw.h"

#include <QPainter>

namespace qasp::skin {
namespace {

// Every pixel's colour becomes its lightness; transparency stays.
QImage Greyed(const QImage &source)
{
    QImage image = source.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < image.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int grey = (qRed(row[x]) * 11 + qGreen(row[x]) * 16 + qBlue(row[x]) * 5) / 32;
            row[x] = qRgba(grey, grey, grey, qAlpha(row[x]));
        }
    }
    return image;
}

}  // namespace

CaptionButton::CaptionButton(const SkinCaptionButton *description, const QImage &appIcon)
    : description_(description),
      picture_(description->Bitmap),
      frames_(std::max(description->FrameCount, 1))
{
    if (isIcon() && picture_.isNull()) {
        picture_ = appIcon;
        frames_ = 1;
    }
    if (!isIcon() && frames_ < 4 && !picture_.isNull())
        inactive_ = Greyed(StateImage(picture_, frames_, 1));
}

int CaptionButton::frameToDraw(Look look, bool windowActive) const
{
    switch (look) {
    case Look::Pressed: return 2;
    case Look::Hot: return inMenuBar() ? 4 : 3;
    case Look::Normal: break;
    }
    // The fourth image is the inactive window's look.
    return windowActive || frames_ < 4 ? 1 : 4;
}

void CaptionButton::paint(QPainter &painter, Look look, bool windowActive) const
{
    if (!visible_)
        return;
    const QImage image = look == Look::Normal && !windowActive && !inactive_.isNull()
                             ? inactive_
                             : StateImage(picture_, frames_, frameToDraw(look, windowActive));
    if (!image.isNull())
        painter.drawImage(bounds_.topLeft(), image);
}

SysButtonSlot CaptionButton::slot() const
{
    SysButtonSlot s;
    s.Skin = description_;
    s.Picture = picture_.isNull() ? QSize() : QSize(picture_.width() / frames_, picture_.height());
    s.Visible = visible_;
    s.Bounds = bounds_;
    return s;
}

}  // namespace qasp::skin
