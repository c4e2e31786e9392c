#include "skin/windows/caption_button.h"

#include "skin/data/skin_draw.h"
#include "skin/windows/skinned_window.h"

#include <QPainter>

namespace qasp::skin {

void FrameObject::Repaint()
{
    Owner->RepaintFrameRect(Bounds);
}

void FrameObject::MouseDown()
{
    if (Owner->HoverObject && Owner->HoverObject != this)
        Owner->HoverObject->MouseLeave();
    if (!Visible)
        return;
    Owner->HoverObject = this;
    ButtonState = kPressed;
    Repaint();
}

void FrameObject::MouseUp()
{
    if (!Visible)
        return;
    ButtonState = kHot;
    Repaint();
}

void FrameObject::MouseEnter()
{
    if (Owner->HoverObject == this)
        return;
    if (Owner->HoverObject)
        Owner->HoverObject->MouseLeave();
    if (!Visible)
        return;
    Owner->HoverObject = this;
    ButtonState = kHot;
    Repaint();
}

void FrameObject::MouseLeave()
{
    if (!Visible)
        return;
    Owner->HoverObject = nullptr;
    ButtonState = kNormal;
    Repaint();
}

CaptionButton::CaptionButton(SkinnedWindow *owner, const SkinCaptionButton *skinButton, const QImage &appIcon)
    : FrameObject(owner), Description(skinButton), Picture(skinButton->Bitmap),
      Frames(std::max(skinButton->FrameCount, 1))
{
    if (IsIcon() && Picture.isNull()) {
        Picture = appIcon;
        Frames = 1;
    }
}

int CaptionButton::FrameToDraw(bool windowActive) const
{
    if (ButtonState == kPressed)
        return kPressed;
    if (ButtonState == kHot)
        return Description->Visibility == 100 ? 4 : kHot;
    return windowActive || Frames < 4 ? 1 : 4;
}

void CaptionButton::Paint(QPainter &painter)
{
    if (!Visible)
        return;
    if (IsIcon()) {
        Owner->PaintCaptionIcon(painter, Bounds);
        return;
    }
    const QImage image = StateImage(Picture, Frames, FrameToDraw(Owner->IsActive));
    if (!image.isNull())
        painter.drawImage(Bounds.topLeft(), WithMagentaTransparent(image));
}

SysButtonSlot CaptionButton::Slot() const
{
    SysButtonSlot s;
    s.Skin = Description;
    s.Picture = Picture.isNull() ? QSize() : QSize(Picture.width() / Frames, Picture.height());
    s.Visible = Visible;
    s.Bounds = Bounds;
    return s;
}

}  // namespace qasp::skin
