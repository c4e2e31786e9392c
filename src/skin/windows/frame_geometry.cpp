#include "skin/windows/frame_geometry.h"

#include "skin/data/skin_model.h"

#include <algorithm>

namespace qasp::skin {
namespace {

int Frames(const SkinElement &e)
{
    return std::max(e.FrameCount, 1);
}

// How far into a sizable frame the sizing zones reach: at least a few
// pixels even where the skin's border is thinner, and a longer stretch at
// each corner so the corners are easy to catch.
constexpr int kMinSizingEdge = 4;
constexpr int kCornerLength = 16;
constexpr int kTopSizingRows = 3;

}  // namespace

FrameMetrics RecalcFrameMetrics(const SkinModel &model, int frameKind)
{
    FrameMetrics m;
    if (frameKind == kNoCaption)
        return m;
    m.CaptionHeight = model.Top.Bitmap.height() / Frames(model.Top);
    m.BorderLeft = model.Left.Bitmap.width() / Frames(model.Left);
    m.BorderRight = model.Right.Bitmap.width() / Frames(model.Right);
    m.BorderBottom = model.Bottom.Bitmap.height() / Frames(model.Bottom);
    return m;
}

FrameRects LayOutFrame(QSize window, const FrameMetrics &m)
{
    const int w = window.width(), h = window.height();
    FrameRects r;
    r.Left = QRect(0, 0, m.BorderLeft, h);
    r.Right = QRect(w - m.BorderRight, 0, m.BorderRight, h);
    r.Bottom = QRect(m.BorderLeft, h - m.BorderBottom, w - m.BorderLeft - m.BorderRight, m.BorderBottom);
    r.Caption = QRect(0, 0, w, m.CaptionHeight);
    r.Top = QRect(m.BorderLeft, 0, w - m.BorderLeft - m.BorderRight, m.CaptionHeight);
    r.MenuBar = QRect(m.BorderLeft, m.CaptionHeight, w - m.BorderLeft - m.BorderRight, m.MenuBarHeight);
    r.Inner = QRect(m.BorderLeft, m.CaptionHeight, w - m.BorderLeft - m.BorderRight,
                    h - m.CaptionHeight - m.BorderBottom);
    return r;
}

bool VisibilityHolds(int value, bool secondCondition, int action, const ButtonFacts &f)
{
    const bool maximised = f.WindowState == kMaximisedState;
    const bool maxBox = f.Capabilities & kMaximiseBox;
    const bool minBox = f.Capabilities & kMinimiseBox;
    const bool sysMenu = f.Capabilities & kSystemMenu;
    switch (value) {
    case 0: return true;
    case 1: return maximised;
    case 2: return !maximised;
    case 3: return f.IsActive;
    case 4: return !f.IsActive;
    case 6: return secondCondition ? maxBox : maxBox && sysMenu;
    case 7: return !maxBox;
    case 8: return secondCondition ? minBox : minBox && sysMenu;
    case 9: return !minBox;
    case 100: return f.MdiChildMaximisedWithMenuBar;
    case 200: return f.FrameKind == kDialogFrame && !f.IsSystemDialog;
    default: break;
    }
    if (value >= 201 && value <= 999)
        return true;
    if (value >= 1000 && value <= 2000)
        return secondCondition || (f.AskApplication && f.AskApplication(value, action) > 0);
    return false;
}

bool SysButtonShown(const SkinCaptionButton &b, const ButtonFacts &f)
{
    if (!VisibilityHolds(b.Visibility, false, b.Action, f)
        || !VisibilityHolds(b.Visibility1, true, b.Action, f))
        return false;
    switch (b.Action) {
    case 1: return f.Capabilities & kMaximiseBox;
    case 2: return f.Capabilities & kMinimiseBox;
    case 3:
    case 11:
    case 12: return f.FrameKind != kDialogFrame;
    default: return true;
    }
}

int CaptionRightLimit(const std::vector<SysButtonSlot> &buttons, int windowWidth)
{
    int limit = 0;
    for (const SysButtonSlot &s : buttons)
        if (s.Visible && s.Skin->Align == 1) {
            const int left = windowWidth - s.Skin->Xcoord;
            limit = limit == 0 ? left : std::min(limit, left);
        }
    return limit;
}

void PlaceSysButtons(std::vector<SysButtonSlot> &buttons, int w, const QRect &text, const FrameMetrics &m,
                     int menuBarLeftMargin, bool rightToLeft)
{
    for (SysButtonSlot &s : buttons) {
        if (!s.Visible)
            continue;
        const SkinCaptionButton &b = *s.Skin;
        const QSize size = s.Picture;
        QPoint at;
        switch (b.Align) {
        case 0: at = {b.Xcoord, b.Ycoord}; break;
        case 1: at = {w - b.Xcoord, b.Ycoord}; break;
        case 2:
        case 8: at = {text.left() - size.width() - b.Xcoord, b.Ycoord}; break;
        case 3:
        case 9: at = {text.right() + 1 + b.Xcoord, b.Ycoord}; break;
        case 100: {
            const int x = w - b.Xcoord - m.BorderRight - menuBarLeftMargin;
            at = {rightToLeft ? w - x - size.width() : x,
                  m.CaptionHeight + (m.MenuBarHeight - size.height()) / 2};
            break;
        }
        default: break;
        }
        s.Bounds = QRect(at, size);
    }
}

QRect PlaceCaptionText(const SkinTitle &title, const CaptionTextFacts &f)
{
    const int width = f.TextSize.width() + title.TXTBackleft + title.TXTBackRight;
    const int height = f.TextSize.height();
    const int textShift = title.Margins.Left, textShiftVert = title.Margins.Top,
              textRightClip = title.Margins.Right;
    const int alignment = f.RightToLeft ? 2 : title.TextAlignment;
    int left = textShift;
    if (alignment == 1)
        left = (f.WindowWidth - width) / 2;
    else if (alignment == 2)
        left = f.WindowWidth - textRightClip - width;
    else if (f.DialogFrame)
        left -= 16;  // a dialog has no icon before its title
    const int top = (f.CaptionHeight - height) / 2 + textShiftVert / 2;
    const int limit = f.RightLimit > 5 ? f.RightLimit - 5 : f.WindowWidth - textRightClip;
    const int right = std::min(left + width, limit);
    return {left, top, std::max(right - left, 0), height};
}

bool IsSizingHit(FrameHit hit)
{
    return hit >= FrameHit::Left;
}

FrameHit FrameHitTest(QPoint p, QSize window, const FrameMetrics &m, bool sizable, int windowState)
{
    const int w = window.width(), h = window.height();
    const int x = p.x(), y = p.y();
    if (sizable && windowState == kNormalState) {
        const int left = std::max(m.BorderLeft, kMinSizingEdge),
                  right = std::max(m.BorderRight, kMinSizingEdge),
                  bottom = std::max(m.BorderBottom, kMinSizingEdge);
        const bool atLeft = x < left, atRight = x >= w - right;
        const bool atTop = y < kTopSizingRows, atBottom = y >= h - bottom;
        const bool nearTop = y < kCornerLength, nearBottom = y >= h - kCornerLength;
        const bool nearLeft = x < kCornerLength, nearRight = x >= w - kCornerLength;
        if ((atLeft && nearTop) || (atTop && nearLeft))
            return FrameHit::TopLeft;
        if ((atRight && nearTop) || (atTop && nearRight))
            return FrameHit::TopRight;
        if ((atLeft && nearBottom) || (atBottom && nearLeft))
            return FrameHit::BottomLeft;
        if ((atRight && nearBottom) || (atBottom && nearRight))
            return FrameHit::BottomRight;
        if (atLeft)
            return FrameHit::Left;
        if (atRight)
            return FrameHit::Right;
        if (atTop)
            return FrameHit::Top;
        if (atBottom)
            return FrameHit::Bottom;
    }
    const bool withinSides = x >= m.BorderLeft && x < w - m.BorderRight;
    if (y < m.CaptionHeight)
        return FrameHit::Caption;  // the caption strip includes the corners
    if (withinSides && y < m.CaptionHeight + m.MenuBarHeight)
        return FrameHit::MenuBar;
    if (withinSides && y < h - m.BorderBottom)
        return FrameHit::Client;
    return FrameHit::Border;
}

int HitSysButton(const std::vector<SysButtonSlot> &buttons, QPoint p)
{
    for (size_t i = 0; i < buttons.size(); ++i)
        if (buttons[i].Visible && buttons[i].Skin->Action >= 0 && buttons[i].Bounds.contains(p))
            return static_cast<int>(i);
    return -1;
}

QRect ResizedGeometry(const QRect &start, QPoint delta, FrameHit edges, QSize minimum, QSize maximum)
{
    const bool left = edges == FrameHit::Left || edges == FrameHit::TopLeft || edges == FrameHit::BottomLeft;
    const bool right =
        edges == FrameHit::Right || edges == FrameHit::TopRight || edges == FrameHit::BottomRight;
    const bool top = edges == FrameHit::Top || edges == FrameHit::TopLeft || edges == FrameHit::TopRight;
    const bool bottom =
        edges == FrameHit::Bottom || edges == FrameHit::BottomLeft || edges == FrameHit::BottomRight;
    const auto fit = [](int v, int lo, int hi) {
        return std::clamp(v, std::max(lo, 1), std::max(hi, std::max(lo, 1)));
    };
    QRect r = start;
    if (left || right) {
        const int width =
            fit(start.width() + (left ? -delta.x() : delta.x()), minimum.width(), maximum.width());
        r.setWidth(width);
        if (left)
            r.moveRight(start.right());
    }
    if (top || bottom) {
        const int height =
            fit(start.height() + (top ? -delta.y() : delta.y()), minimum.height(), maximum.height());
        r.setHeight(height);
        if (top)
            r.moveBottom(start.bottom());
    }
    return r;
}

}  // namespace qasp::skin
