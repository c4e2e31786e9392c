// Which state image a skinned control shows, and where the parts of a
// skinned scroll bar lie: the choices the control painters make, free of
// widgets so that they can be checked one by one.
#pragma once

namespace qasp::skin {

// A push button's frame of the skin's button picture: 3 disabled, 2
// pressed, 4 hot or focused, 1 otherwise.
int ButtonFrame(bool enabled, bool pressed, bool hot, bool focused);

// A check box's (or radio button's) glyph frame. Frames run unchecked,
// checked, unchecked disabled, checked disabled; a 12-frame picture keeps
// more states and is mapped onto its own order.
int CheckGlyphFrame(bool checked, bool indeterminate, bool enabled, int frameCount);

// A tool-bar button's image of the skin's button picture: 2 pressed or
// checked, 4 hot or focused, 1 plain; 0 (nothing) when disabled.
int ToolButtonImage(bool enabled, bool down, bool hot, bool focused);

// The zones along a scroll bar, as a click would find them.
enum ScrollZone {
    kFirstArrow = 0,
    kSecondArrow = 1,
    kPageBack = 2,
    kPageForward = 3,
    kThumb = 5,
    kNoZone = -1
};

// A scroll bar's range in the window system's terms: positions run from 0
// to Maximum, and Page of them show at once (0 for a bar without a page).
struct ScrollRange {
    int Position = 0;
    int Maximum = 0;
    int Page = 0;
};

struct ScrollBarLayout {
    int Length = 0;  // along the bar
    int Arrow = 0;   // each arrow's extent
    int ThumbStart = 0;
    int ThumbLength = 0;
    int TrackEnd() const { return Length - Arrow; }
};

// The thumb's place and size for a bar of this length.
ScrollBarLayout LayOutScrollBar(int length, int arrow, const ScrollRange &range);
ScrollZone ScrollZoneAt(const ScrollBarLayout &layout, int offset);

// The position a dragged thumb stands for when its start is at `thumbStart`.
int PositionForThumb(const ScrollBarLayout &layout, const ScrollRange &range, int thumbStart);

// A range of Qt's scroll bar (minimum..maximum, page step) in those terms.
ScrollRange RangeOfSlider(int minimum, int maximum, int pageStep, int value);

// Frames of the skin's 23-frame scroll bar picture.
int ArrowFrame(bool horizontal, bool second, bool pressed, bool hot, bool enabled);
int GripFrame(bool horizontal, bool dragged, bool hot);
// The track's and thumb's state image: 1 plain, 2 dragged, 3 hot (thumb);
// 3 disabled (track).
int ThumbImage(bool dragged, bool hot);
int TrackImage(bool enabled);

}  // namespace qasp::skin
