#include "skin/windows/skinned_scroll_bar.h"

#include "skin/data/skin_data.h"
#include "skin/data/skin_draw.h"
#include "skin/windows/skin_events.h"

#include <QAbstractScrollArea>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

namespace qasp::skin {
namespace {

// The plain bar's own timing: a pause, then steps in quick succession.
constexpr int kFirstRepeatMs = 300;
constexpr int kRepeatMs = 50;

}  // namespace

SkinnedScrollBar::SkinnedScrollBar(QScrollBar *bar) : SkinnedControl(bar), bar_(bar)
{
    repeat_.setSingleShot(false);
    connect(&repeat_, &QTimer::timeout, this, &SkinnedScrollBar::repeat);
}

bool SkinnedScrollBar::isHorizontal() const
{
    return bar_->orientation() == Qt::Horizontal;
}

int SkinnedScrollBar::along(QPoint p) const
{
    return isHorizontal() ? p.x() : p.y();
}

int SkinnedScrollBar::arrowSize() const
{
    // The picture's size, unless it is far from the bar's thickness.
    const int thickness = isHorizontal() ? bar_->height() : bar_->width();
    const auto &picture = model().Scrollbar;
    const int height = picture ? picture->Bitmap.height() : thickness;
    return std::abs(height - thickness) > 2 ? thickness : height;
}

ScrollRange SkinnedScrollBar::range() const
{
    return RangeOfSlider(bar_->minimum(), bar_->maximum(), bar_->pageStep(), bar_->sliderPosition());
}

ScrollBarLayout SkinnedScrollBar::layout() const
{
    return LayOutScrollBar(isHorizontal() ? bar_->width() : bar_->height(), arrowSize(), range());
}

QRect SkinnedScrollBar::partRect(int start, int length) const
{
    return isHorizontal() ? QRect(start, 0, length, bar_->height()) : QRect(0, start, bar_->width(), length);
}

void SkinnedScrollBar::attached()
{
    trackHover(true);
}

void SkinnedScrollBar::press(QPoint p)
{
    const ScrollBarLayout parts = layout();
    pressedZone_ = ScrollZoneAt(parts, along(p));
    switch (pressedZone_) {
    case kThumb:
        dragging_ = true;
        dragOffset_ = along(p) - parts.ThumbStart;
        bar_->setSliderDown(true);
        break;
    case kNoZone: return;
    default:
        repeat();
        repeat_.start(kFirstRepeatMs);
        break;
    }
    repaint();
}

void SkinnedScrollBar::repeat()
{
    if (repeat_.isActive())
        repeat_.setInterval(kRepeatMs);
    const QPoint cursor = bar_->mapFromGlobal(QCursor::pos());
    const ScrollBarLayout parts = layout();
    switch (pressedZone_) {
    case kFirstArrow: bar_->triggerAction(QAbstractSlider::SliderSingleStepSub); break;
    case kSecondArrow: bar_->triggerAction(QAbstractSlider::SliderSingleStepAdd); break;
    case kPageBack:
        // Pages stop when the thumb reaches the pointer, as on the plain bar.
        if (repeat_.isActive() && ScrollZoneAt(parts, along(cursor)) != kPageBack)
            return;
        bar_->triggerAction(QAbstractSlider::SliderPageStepSub);
        break;
    case kPageForward:
        if (repeat_.isActive() && ScrollZoneAt(parts, along(cursor)) != kPageForward)
            return;
        bar_->triggerAction(QAbstractSlider::SliderPageStepAdd);
        break;
    default: repeat_.stop(); return;
    }
    repaint();
}

bool SkinnedScrollBar::paintsWhole() const
{
    const auto &picture = model().Scrollbar;
    return picture && !picture->Bitmap.isNull();
}

bool SkinnedScrollBar::beforeEvent(QEvent *event)
{
    if (SkinnedControl::beforeEvent(event))
        return true;
    if (!paintsWhole())
        return false;  // the bar paints and works as it always did
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton)
            press(mouse->position().toPoint());
        return true;
    }
    case QEvent::MouseMove: {
        const QPoint p = static_cast<QMouseEvent *>(event)->position().toPoint();
        if (dragging_) {
            const ScrollBarLayout parts = layout();
            bar_->setSliderPosition(bar_->minimum()
                                    + PositionForThumb(parts, range(), along(p) - dragOffset_));
        }
        const int zone = ScrollZoneAt(layout(), along(p));
        if (zone != hotZone_) {
            hotZone_ = zone;
            repaint();
        }
        return true;
    }
    case QEvent::MouseButtonRelease:
        repeat_.stop();
        if (dragging_) {
            dragging_ = false;
            bar_->setSliderDown(false);
        }
        pressedZone_ = kNoZone;
        repaint();
        return true;
    case QEvent::HoverMove: {
        const int zone =
            ScrollZoneAt(layout(), along(static_cast<QHoverEvent *>(event)->position().toPoint()));
        if (zone != hotZone_) {
            hotZone_ = zone;
            repaint();
        }
        return false;
    }
    case QEvent::HoverLeave:
    case QEvent::Leave:
        if (pressedZone_ == kNoZone)
            hotZone_ = kNoZone;
        repaint();
        return false;
    default: return false;
    }
}

void SkinnedScrollBar::paint(QPainter &p, const QRect &rect)
{
    const SkinModel &m = model();
    const bool horizontal = isHorizontal();
    const bool enabled = bar_->isEnabled() && bar_->maximum() > bar_->minimum();
    const ScrollBarLayout parts = layout();
    fillFace(p, rect);
    const SkinElement *track = horizontal ? m.HorzScroll.get() : m.VertScroll.get();
    if (track)
        DrawSkinElement(p, *track, TrackImage(enabled),
                        partRect(parts.Arrow, parts.Length - 2 * parts.Arrow));
    const SkinElement &arrows = *m.Scrollbar;
    const auto arrowFrame = [&](bool second) {
        const int zone = second ? kSecondArrow : kFirstArrow;
        return ArrowFrame(horizontal, second, pressedZone_ == zone, hotZone_ == zone, enabled);
    };
    // A picture larger than the bar is scaled as a whole, never squeezed into a sliver.
    const auto drawArrow = [&](int frame, const QRect &target) {
        DrawFittedPicture(p, StateImage(arrows.Bitmap, arrows.FrameCount, frame), target);
    };
    drawArrow(arrowFrame(false), partRect(0, parts.Arrow));
    drawArrow(arrowFrame(true), partRect(parts.TrackEnd(), parts.Arrow));
    if (!enabled)
        return;
    const QRect thumb = partRect(parts.ThumbStart, parts.ThumbLength);
    const bool hot = hotZone_ == kThumb;
    if (const SkinElement *piece = horizontal ? m.HorzScrollThumb.get() : m.VertScrollThumb.get())
        DrawSkinElement(p, *piece, ThumbImage(dragging_, hot), thumb);
    const QImage grip = StateImage(arrows.Bitmap, arrows.FrameCount, GripFrame(horizontal, dragging_, hot));
    const int thickness = horizontal ? bar_->height() : bar_->width();
    const QSize gripSize = grip.height() > thickness
                               ? grip.size().scaled(thickness, thickness, Qt::KeepAspectRatio)
                               : grip.size();
    if (!grip.isNull() && parts.ThumbLength >= gripSize.height() - 2)
        DrawFittedPicture(p, grip,
                          QRect(thumb.center() - QPoint(gripSize.width() / 2, gripSize.height() / 2)
                                    + QPoint(1, 1) * int(gripSize == grip.size()),
                                gripSize));
}

void SkinnedScrollArea::attached()
{
    auto *area = qobject_cast<QAbstractScrollArea *>(control());
    if (!area)
        return;
    for (QScrollBar *bar : {area->horizontalScrollBar(), area->verticalScrollBar()}) {
        if (!bar || SendSkinMessage(bar, kSkinQueryEvent) == 1)
            continue;
        auto *skinned = new SkinnedScrollBar(bar);
        skinned->setParent(this);
        skinned->attachInDialog(registry(), skinData());
        bars_.emplace_back(skinned);
    }
}

void SkinnedScrollArea::detaching()
{
    for (const QPointer<SkinnedScrollBar> &bar : bars_)
        delete bar.data();
    bars_.clear();
}

void SkinnedScrollArea::paint(QPainter &p, const QRect &rect)
{
    auto *area = qobject_cast<QAbstractScrollArea *>(control());
    if (!area)
        return;
    const SkinModel &m = model();
    // The corner between the two bars.
    const QScrollBar *h = area->horizontalScrollBar();
    const QScrollBar *v = area->verticalScrollBar();
    if (h && v && h->isVisible() && v->isVisible()) {
        const QPoint corner(v->mapTo(area, QPoint(0, 0)).x(), h->mapTo(area, QPoint(0, 0)).y());
        p.fillRect(QRect(corner, QSize(v->width(), h->height())), ToQColor(m.Colours.ButtonFace));
    }
    // A one-pixel double border where the control has a frame.
    if (area->frameShape() != QFrame::NoFrame && area->frameWidth() >= 2) {
        p.setPen(ToQColor(m.Colours.ButtonShadow));
        p.drawRect(rect.adjusted(0, 0, -1, -1));
        p.setPen(ToQColor(m.Colours.ButtonFace));
        p.drawRect(rect.adjusted(1, 1, -2, -2));
    }
}

}  // namespace qasp::skin
