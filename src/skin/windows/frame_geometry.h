// The arithmetic of a skinned window frame: border widths from the skin's
// pictures, where the borders, caption text and caption buttons go, which
// buttons show, and what a point of the frame means. No widgets here.
#pragma once

#include "skin/data/skin_elements.h"

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <functional>
#include <vector>

namespace qasp::skin {

struct SkinModel;

enum FrameKind { kSizableFrame = 0, kFixedFrame = 1, kNoCaption = 2, kDialogFrame = 3 };
enum WindowStateKind { kNormalState = 0, kMaximisedState = 1, kMinimisedState = 2 };

// Bits of a window's capabilities.
enum Capability { kMaximiseBox = 1, kMinimiseBox = 2, kSystemMenu = 8, kCaptionToggling = 0x10 };

struct FrameMetrics {
    int BorderLeft = 0, CaptionHeight = 0, BorderRight = 0, BorderBottom = 0, MenuBarHeight = 0;
    // What the frame takes from each side of the window.
    QMargins Margins() const
    {
        return {BorderLeft, CaptionHeight + MenuBarHeight, BorderRight, BorderBottom};
    }
    QSize Extra() const { return {BorderLeft + BorderRight, CaptionHeight + MenuBarHeight + BorderBottom}; }
    bool operator==(const FrameMetrics &) const = default;
};

// Each border's thickness is its picture's size over its count of state
// images; a frame without a caption has none.
FrameMetrics RecalcFrameMetrics(const SkinModel &model, int frameKind);

// Where each border goes in a window of this size, in window coordinates.
struct FrameRects {
    QRect Left, Right, Bottom, Top, Caption, MenuBar, Inner;
};
FrameRects LayOutFrame(QSize window, const FrameMetrics &m);

// What a caption button's Visibility values are tested against.
struct ButtonFacts {
    int WindowState = kNormalState;
    bool IsActive = true;
    int Capabilities = kSystemMenu | kMaximiseBox | kMinimiseBox;
    int FrameKind = kSizableFrame;
    bool IsSystemDialog = false;
    bool MdiChildMaximisedWithMenuBar = false;
    // The application's answer for Visibility 1000..2000.
    std::function<int(int visibility, int action)> AskApplication;
};

bool VisibilityHolds(int value, bool secondCondition, int action, const ButtonFacts &facts);
bool SysButtonShown(const SkinCaptionButton &button, const ButtonFacts &facts);

// One caption button of a window: its description and picture.
struct SysButtonSlot {
    const SkinCaptionButton *Skin = nullptr;
    QSize Picture;  // one state image
    bool Visible = false;
    QRect Bounds;
};

// Left edge of the leftmost shown right-aligned button, or 0 when none.
int CaptionRightLimit(const std::vector<SysButtonSlot> &buttons, int windowWidth);

// Places every shown button by its Align; text-relative buttons need the
// caption text's rectangle, the menu-bar ones the menu bar's left margin.
void PlaceSysButtons(std::vector<SysButtonSlot> &buttons, int windowWidth, const QRect &textRect,
                     const FrameMetrics &m, int menuBarLeftMargin, bool rightToLeft);

// Where the caption text goes, given its measured size.
struct CaptionTextFacts {
    int WindowWidth = 0;
    int CaptionHeight = 0;
    QSize TextSize;
    bool RightToLeft = false;
    bool DialogFrame = false;
    int RightLimit = 0;  // CaptionRightLimit, 0 when no right-aligned button
};
QRect PlaceCaptionText(const SkinTitle &title, const CaptionTextFacts &facts);

// What a point of the window means.
enum class FrameHit {
    Client,
    Caption,
    MenuBar,
    Border,
    Left,
    Right,
    Top,
    Bottom,
    TopLeft,
    TopRight,
    BottomLeft,
    BottomRight,
};
bool IsSizingHit(FrameHit hit);
FrameHit FrameHitTest(QPoint point, QSize window, const FrameMetrics &m, bool sizable, int windowState);

// The first shown button under the point whose action is not negative, or -1.
int HitSysButton(const std::vector<SysButtonSlot> &buttons, QPoint point);

// A window's new geometry when the named edges are dragged by delta,
// within its minimum and maximum sizes.
QRect ResizedGeometry(const QRect &start, QPoint delta, FrameHit edges, QSize minimum, QSize maximum);

}  // namespace qasp::skin
