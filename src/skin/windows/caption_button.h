// The objects that live in a skinned frame: caption buttons now, menu bar
// items later. Each knows its bounds in window coordinates and its state,
// and asks its frame painter to repaint it when the state changes.
#pragma once

#include "skin/windows/frame_geometry.h"

#include <QImage>

class QPainter;

namespace qasp::skin {

class SkinnedWindow;

class FrameObject {
public:
    enum { kNormal = 1, kPressed = 2, kHot = 3 };

    explicit FrameObject(SkinnedWindow *owner) : Owner(owner) {}
    virtual ~FrameObject() = default;

    SkinnedWindow *Owner;
    QRect Bounds;
    bool Visible = false;
    int ButtonState = kNormal;

    virtual void MouseDown();
    virtual void MouseUp();
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual void Paint(QPainter &) {}

protected:
    void Repaint();
};

// A caption button from the skin's description.
class CaptionButton : public FrameObject {
public:
    CaptionButton(SkinnedWindow *owner, const SkinCaptionButton *skinButton, const QImage &appIcon);

    const SkinCaptionButton *Description;
    QImage Picture;  // its state images side by side
    int Frames = 1;

    bool IsIcon() const { return Description->Action == 3 || Description->Action == 11; }
    // The state image to draw: the inactive look, or pressed or hot.
    int FrameToDraw(bool windowActive) const;
    void Paint(QPainter &painter) override;

    SysButtonSlot Slot() const;
};

}  // namespace qasp::skin
