#include "skin/windows/control_states.h"

#include <algorithm>
#include <cstdint>

namespace qasp::skin {
namespace {

// a * b / c rounded as the window system's MulDiv does, 0 for c of 0.
int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return 0;
    const int64_t product = static_cast<int64_t>(a) * b;
    const int64_t half = (c > 0 ? c : -c) / 2;
    return static_cast<int>((product >= 0 ? product + half : product - half) / c);
}

// A thumb never shrinks to nothing on a long document: it stays big
// enough to see and to catch.
constexpr int kMinThumb = 8;

}  // namespace

int ButtonFrame(bool enabled, bool pressed, bool hot, bool focused)
{
    if (!enabled)
        return 3;
    if (pressed)
        return 2;
    if (hot || focused)
        return 4;
    return 1;
}

int CheckGlyphFrame(bool checked, bool indeterminate, bool enabled, int frameCount)
{
    int frame = checked ? 2 : 1;
    if (!enabled)
        frame += 2;
    if (indeterminate)
        frame = 4;
    if (frameCount != 12)
        return frame;
    if (indeterminate)
        return enabled ? 9 : 12;
    switch (frame) {
    case 2: return 5;
    case 3: return 4;
    case 4: return 8;
    default: return frame;
    }
}

int ToolButtonImage(bool enabled, bool down, bool hot, bool focused)
{
    if (down)
        return 2;
    if (hot || focused)
        return 4;
    return enabled ? 1 : 0;
}

ScrollBarLayout LayOutScrollBar(int length, int arrow, const ScrollRange &r)
{
    ScrollBarLayout l;
    l.Length = length;
    l.Arrow = std::min(arrow, length / 2);
    const int track = std::max(length - 2 * l.Arrow, 0);
    const int max = std::max(r.Maximum, 0);
    const int pos = std::clamp(r.Position, 0, max);
    if (r.Page > 0) {
        l.ThumbLength = max > 0 ? MulDiv(track, r.Page - 1, max) : track;
        l.ThumbStart = l.Arrow + (pos == 0 ? 0 : MulDiv(track, pos, max));
    } else {
        l.ThumbLength = l.Arrow;
        l.ThumbStart = l.Arrow + MulDiv(std::max(length - 3 * l.Arrow, 0), pos, max);
    }
    l.ThumbLength = std::clamp(l.ThumbLength, std::min(kMinThumb, track), track);
    l.ThumbStart = std::clamp(l.ThumbStart, l.Arrow, l.Arrow + track - l.ThumbLength);
    return l;
}

ScrollZone ScrollZoneAt(const ScrollBarLayout &l, int offset)
{
    if (offset < 0 || offset >= l.Length)
        return kNoZone;
    if (offset < l.Arrow)
        return kFirstArrow;
    if (offset < l.ThumbStart)
        return kPageBack;
    if (offset < l.ThumbStart + l.ThumbLength)
        return kThumb;
    if (offset < l.TrackEnd())
        return kPageForward;
    return kSecondArrow;
}

int PositionForThumb(const ScrollBarLayout &l, const ScrollRange &r, int thumbStart)
{
    const int travel = l.Length - 2 * l.Arrow - l.ThumbLength;
    const int positions = r.Page > 0 ? r.Maximum - r.Page + 1 : r.Maximum;
    if (travel <= 0 || positions <= 0)
        return 0;
    return std::clamp(MulDiv(thumbStart - l.Arrow, positions, travel), 0, positions);
}

ScrollRange RangeOfSlider(int minimum, int maximum, int pageStep, int value)
{
    ScrollRange r;
    r.Page = std::max(pageStep, 0);
    r.Maximum = std::max(maximum - minimum, 0) + (r.Page > 0 ? r.Page - 1 : 0);
    r.Position = value - minimum;
    return r;
}

int ArrowFrame(bool horizontal, bool second, bool pressed, bool hot, bool enabled)
{
    const int base = horizontal ? (second ? 5 : 1) : (second ? 13 : 9);
    if (!enabled)
        return base + 2;
    if (pressed)
        return base + 1;
    if (hot)
        return base + 3;
    return base;
}

int GripFrame(bool horizontal, bool dragged, bool hot)
{
    return (horizontal ? 17 : 20) + (dragged ? 1 : hot ? 2 : 0);
}

int ThumbImage(bool dragged, bool hot)
{
    return dragged ? 2 : hot ? 3 : 1;
}

int TrackImage(bool enabled)
{
    return enabled ? 1 : 3;
}

}  // namespace qasp::skin
