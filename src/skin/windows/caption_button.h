// One button of a skinned caption (close, maximise, minimise, the icon, or
// a button of the application's own) as the skin describes it: its
// picture, whether it shows, where it sits, and which of its state images
// a look calls for.
#pragma once

#include "skin/windows/frame_geometry.h"

#include <QImage>
#include <QRect>

class QPainter;

namespace qasp::skin {

class CaptionButton {
public:
    // Its look: the mouse over it, or holding it down.
    enum class Look { Normal, Hot, Pressed };

    CaptionButton(const SkinCaptionButton *description, const QImage &appIcon);

    const SkinCaptionButton &description() const { return *description_; }
    int action() const { return description_->Action; }
    // The window's icon, which opens the window menu.
    bool isIcon() const { return action() == 3 || action() == 11; }
    // A button the menu bar paints, not the caption.
    bool inMenuBar() const { return description_->Visibility == 100; }

    bool isVisible() const { return visible_; }
    void setVisible(bool visible) { visible_ = visible; }
    const QRect &bounds() const { return bounds_; }
    void setBounds(const QRect &bounds) { bounds_ = bounds; }

    // The 1-based state image to draw: pressed, hot, or the inactive look.
    int frameToDraw(Look look, bool windowActive) const;
    // Any button but the icon, which the frame draws from the window's own.
    // On an inactive window a button without an inactive image of its own
    // shows its normal image in grey, not the active look.
    void paint(QPainter &painter, Look look, bool windowActive) const;

    // What placement and hit-testing know of it.
    SysButtonSlot slot() const;

private:
    const SkinCaptionButton *description_;
    QImage picture_;   // its state images side by side
    QImage inactive_;  // without an inactive image of its own: the first, greyed
    int frames_ = 1;
    bool visible_ = false;
    QRect bounds_;
};

}  // namespace qasp::skin
