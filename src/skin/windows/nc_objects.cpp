#include "skin/windows/nc_objects.h"

#include "skin/data/skin_draw.h"
#include "skin/windows/win_skin_form.h"

#include <QPainter>

namespace qasp::skin {

void TNCObject::Repaint()
{
    Owner->RepaintFrameRect(Bounds);
}

void TNCObject::MouseDown()
{
    if (Owner->HoverObject && Owner->HoverObject != this)
        Owner->HoverObject->MouseLeave();
    if (!Visible)
        return;
    Owner->HoverObject = this;
    ButtonState = kPressed;
    Repaint();
}

void TNCObject::MouseUp()
{
    if (!Visible)
        return;
    ButtonState = kHot;
    Repaint();
}

void TNCObject::MouseEnter()
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

void TNCObject::MouseLeave()
{
    if (!Visible)
        return;
    Owner->HoverObject = nullptr;
    ButtonState = kNormal;
    Repaint();
}

TWinSysButton::TWinSysButton(TWinSkinForm *owner, const TDataSkinSysButton *skinButton, const QImage &appIcon)
    : TNCObject(owner), SkinButton(skinButton), Picture(skinButton->Bitmap),
      Frames(std::max(skinButton->FrameCount, 1))
{
    if (IsIcon() && Picture.isNull()) {
        Picture = appIcon;
        Frames = 1;
    }
}

int TWinSysButton::FrameToDraw(bool windowActive) const
{
    if (ButtonState == kPressed)
        return kPressed;
    if (ButtonState == kHot)
        return SkinButton->Visibility == 100 ? 4 : kHot;
    return windowActive || Frames < 4 ? 1 : 4;
}

void TWinSysButton::Paint(QPainter &painter)
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

SysButtonSlot TWinSysButton::Slot() const
{
    SysButtonSlot s;
    s.Skin = SkinButton;
    s.Picture = Picture.isNull() ? QSize() : QSize(Picture.width() / Frames, Picture.height());
    s.Visible = Visible;
    s.Bounds = Bounds;
    return s;
}

}  // namespace qasp::skin
