#include "skin/windows/caption_button.h"

#include "skin/data/skin_draw.h"

#include <QPainter>

namespace qasp::skin {

CaptionButton::CaptionButton(const SkinCaptionButton *description, const QImage &appIcon)
    : description_(description),
      picture_(description->Bitmap),
      frames_(std::max(description->FrameCount, 1))
{
    if (isIcon() && picture_.isNull()) {
        picture_ = appIcon;
        frames_ = 1;
    }
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
    const QImage image = StateImage(picture_, frames_, frameToDraw(look, windowActive));
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
