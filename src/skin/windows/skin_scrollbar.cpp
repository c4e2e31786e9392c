#include "skin/windows/skin_scrollbar.h"

#include "skin/data/skin_data.h"
#include "skin/data/skin_draw.h"
#include "skin/windows/skin_events.h"
#include "skin/windows/win_skin_form.h"

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

TWScrollbar::TWScrollbar(QScrollBar *bar) : TSkinControl(bar), bar_(bar)
{
    repeat_.setSingleShot(false);
    connect(&repeat_, &QTimer::timeout, this, &TWScrollbar::Repeat);
}

bool TWScrollbar::Horizontal() const
{
    return bar_->orientation() == Qt::Horizontal;
}

int TWScrollbar::Along(QPoint p) const
{
    return Horizontal() ? p.x() : p.y();
}

int TWScrollbar::ArrowSize() const
{
    // The picture's size, unless it is far from the bar's thickness.
    const int thickness = Horizontal() ? bar_->height() : bar_->width();
    const auto &picture = SkinData->Model().Scrollbar;
    const int height = picture ? picture->Bitmap.height() : thickness;
    return std::abs(height - thickness) > 2 ? thickness : height;
}

ScrollRange TWScrollbar::Range() const
{
    return RangeOfSlider(bar_->minimum(), bar_->maximum(), bar_->pageStep(), bar_->sliderPosition());
}

ScrollBarLayout TWScrollbar::Layout() const
{
    return LayOutScrollBar(Horizontal() ? bar_->width() : bar_->height(), ArrowSize(), Range());
}

QRect TWScrollbar::PartRect(int start, int length) const
{
    return Horizontal() ? QRect(start, 0, length, bar_->height()) : QRect(0, start, bar_->width(), length);
}

void TWScrollbar::Attached()
{
    TrackHover(true);
}

void TWScrollbar::Press(QPoint p)
{
    const ScrollBarLayout layout = Layout();
    PressedZone = ScrollZoneAt(layout, Along(p));
    switch (PressedZone) {
    case kThumb:
        Dragging = true;
        dragOffset_ = Along(p) - layout.ThumbStart;
        bar_->setSliderDown(true);
        break;
    case kNoZone:
        return;
    default:
        Repeat();
        repeat_.start(kFirstRepeatMs);
        break;
    }
    Repaint();
}

void TWScrollbar::Repeat()
{
    if (repeat_.isActive())
        repeat_.setInterval(kRepeatMs);
    const QPoint cursor = bar_->mapFromGlobal(QCursor::pos());
    const ScrollBarLayout layout = Layout();
    switch (PressedZone) {
    case kFirstArrow:
        bar_->triggerAction(QAbstractSlider::SliderSingleStepSub);
        break;
    case kSecondArrow:
        bar_->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        break;
    case kPageBack:
        // Pages stop when the thumb reaches the pointer, as on the plain bar.
        if (repeat_.isActive() && ScrollZoneAt(layout, Along(cursor)) != kPageBack)
            return;
        bar_->triggerAction(QAbstractSlider::SliderPageStepSub);
        break;
    case kPageForward:
        if (repeat_.isActive() && ScrollZoneAt(layout, Along(cursor)) != kPageForward)
            return;
        bar_->triggerAction(QAbstractSlider::SliderPageStepAdd);
        break;
    default:
        repeat_.stop();
        return;
    }
    Repaint();
}

bool TWScrollbar::PaintsWhole() const
{
    const auto &picture = SkinData->Model().Scrollbar;
    return picture && !picture->Bitmap.isNull();
}

bool TWScrollbar::BeforeMessage(QEvent *event)
{
    if (TSkinControl::BeforeMessage(event))
        return true;
    if (!PaintsWhole())
        return false;  // the bar paints and works as it always did
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton)
            Press(mouse->position().toPoint());
        return true;
    }
    case QEvent::MouseMove: {
        const QPoint p = static_cast<QMouseEvent *>(event)->position().toPoint();
        if (Dragging) {
            const ScrollBarLayout layout = Layout();
            bar_->setSliderPosition(bar_->minimum() + PositionForThumb(layout, Range(), Along(p) - dragOffset_));
        }
        const int zone = ScrollZoneAt(Layout(), Along(p));
        if (zone != HotZone) {
            HotZone = zone;
            Repaint();
        }
        return true;
    }
    case QEvent::MouseButtonRelease:
        repeat_.stop();
        if (Dragging) {
            Dragging = false;
            bar_->setSliderDown(false);
        }
        PressedZone = kNoZone;
        Repaint();
        return true;
    case QEvent::HoverMove: {
        const int zone = ScrollZoneAt(Layout(), Along(static_cast<QHoverEvent *>(event)->position().toPoint()));
        if (zone != HotZone) {
            HotZone = zone;
            Repaint();
        }
        return false;
    }
    case QEvent::HoverLeave:
    case QEvent::Leave:
        if (PressedZone == kNoZone)
            HotZone = kNoZone;
        Repaint();
        return false;
    default:
        return false;
    }
}

void TWScrollbar::Paint(QPainter &p, const QRect &rect)
{
    const SkinModel &m = SkinData->Model();
    const bool horizontal = Horizontal();
    const bool enabled = bar_->isEnabled() && bar_->maximum() > bar_->minimum();
    const ScrollBarLayout layout = Layout();
    FillFace(p, rect);
    const TDataSkinObject *track = horizontal ? m.HorzScroll.get() : m.VertScroll.get();
    if (track)
        DrawSkinElement(p, *track, TrackImage(enabled), PartRect(layout.Arrow, layout.Length - 2 * layout.Arrow));
    const TDataSkinObject &arrows = *m.Scrollbar;
    const auto arrowFrame = [&](bool second) {
        const int zone = second ? kSecondArrow : kFirstArrow;
        return ArrowFrame(horizontal, second, PressedZone == zone, HotZone == zone, enabled);
    };
    const auto drawArrow = [&](int frame, const QRect &target) {
        p.drawImage(target, WithMagentaTransparent(StateImage(arrows.Bitmap, arrows.FrameCount, frame)));
    };
    drawArrow(arrowFrame(false), PartRect(0, layout.Arrow));
    drawArrow(arrowFrame(true), PartRect(layout.TrackEnd(), layout.Arrow));
    if (!enabled)
        return;
    const QRect thumb = PartRect(layout.ThumbStart, layout.ThumbLength);
    const bool hot = HotZone == kThumb;
    if (const TDataSkinObject *piece = horizontal ? m.HorzScrollThumb.get() : m.VertScrollThumb.get())
        DrawSkinElement(p, *piece, ThumbImage(Dragging, hot), thumb);
    const QImage grip = WithMagentaTransparent(
        StateImage(arrows.Bitmap, arrows.FrameCount, GripFrame(horizontal, Dragging, hot)));
    if (layout.ThumbLength >= grip.height() - 2)
        p.drawImage(thumb.center() - QPoint(grip.width() / 2, grip.height() / 2) + QPoint(1, 1), grip);
}

void TSkinScrollbar::Attached()
{
    auto *area = qobject_cast<QAbstractScrollArea *>(Window());
    if (!area)
        return;
    for (QScrollBar *bar : {area->horizontalScrollBar(), area->verticalScrollBar()}) {
        if (!bar || SendSkinMessage(bar, kSkinQueryEvent) == 1)
            continue;
        auto *skinned = new TWScrollbar(bar);
        skinned->setParent(this);
        skinned->AttachWindow(Owner, SkinData);
        bars_.emplace_back(skinned);
    }
}

void TSkinScrollbar::Detaching()
{
    for (const QPointer<TWScrollbar> &bar : bars_)
        delete bar.data();
    bars_.clear();
}

void TSkinScrollbar::Paint(QPainter &p, const QRect &rect)
{
    auto *area = qobject_cast<QAbstractScrollArea *>(Window());
    if (!area)
        return;
    const SkinModel &m = SkinData->Model();
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
