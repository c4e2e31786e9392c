#include "skin/windows/skinned_ranges.h"

#include "skin/data/skin_data.h"
#include "skin/data/skin_draw.h"
#include "skin/windows/skinned_tab_buttons.h"

#include <QAbstractSpinBox>
#include <QGuiApplication>
#include <QPainter>
#include <QProgressBar>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QStyleOptionSpinBox>
#include <QTabBar>

#include <algorithm>

namespace qasp::skin {
namespace {

constexpr int kTickLength = 3;
constexpr int kTickBand = kTickLength + 1;  // a tick and the gap beside it

}  // namespace

bool SkinnedProgressBar::paintsWhole() const
{
    const auto &picture = model().Progress;
    return picture && !picture->Bitmap.isNull();
}

void SkinnedProgressBar::paint(QPainter &p, const QRect &rect)
{
    auto *bar = qobject_cast<QProgressBar *>(control());
    const SkinBorder &picture = *model().Progress;
    fillFace(p, rect);
    DrawNineSlice(p, rect, picture.Bitmap, picture.Margins, false);
    const int span = bar->maximum() - bar->minimum();
    if (span > 0 && bar->value() > bar->minimum()) {
        const QRect inner = rect.marginsRemoved({2, 2, 2, 2});
        const double share = double(bar->value() - bar->minimum()) / span;
        QRect chunk = inner;
        if (bar->orientation() == Qt::Horizontal)
            chunk.setWidth(int(inner.width() * share));
        else
            chunk.setTop(inner.bottom() + 1 - int(inner.height() * share));
        const QImage &fill = picture.Bitmap2.isNull() ? picture.Bitmap : picture.Bitmap2;
        DrawNineSlice(p, chunk, fill, {}, false);
    }
    if (bar->isTextVisible()) {
        p.setPen(bar->palette().color(QPalette::WindowText));
        p.drawText(rect, Qt::AlignCenter, bar->text());
    }
}

const SkinElement *SkinnedSlider::thumbPicture(const SkinModel &m, bool horizontal, int tickPosition)
{
    const SkinElement *pointed = nullptr;
    if (tickPosition == QSlider::TicksAbove)  // TicksLeft for a vertical slider
        pointed = horizontal ? m.TrackbarThumbUp.get() : m.TrackbarThumbLeft.get();
    else if (tickPosition == QSlider::TicksBelow)  // TicksRight
        pointed = horizontal ? m.TrackbarThumbDown.get() : m.TrackbarThumbRight.get();
    if (pointed && !pointed->Bitmap.isNull())
        return pointed;
    return horizontal ? m.TrackbarThumbHorz.get() : m.TrackbarThumbVert.get();
}

void SkinnedSlider::attached()
{
    trackHover(true);
}

bool SkinnedSlider::paintsWhole() const
{
    const SkinModel &m = model();
    return m.Track && m.TrackbarThumbHorz;
}

void SkinnedSlider::paint(QPainter &p, const QRect &rect)
{
    auto *slider = qobject_cast<QSlider *>(control());
    const SkinModel &m = model();
    const bool horizontal = slider->orientation() == Qt::Horizontal;
    QStyleOptionSlider option;
    option.initFrom(slider);
    option.orientation = slider->orientation();
    option.minimum = slider->minimum();
    option.maximum = slider->maximum();
    option.sliderPosition = slider->sliderPosition();
    option.sliderValue = slider->value();
    option.upsideDown = horizontal
                            ? slider->invertedAppearance() != (slider->layoutDirection() == Qt::RightToLeft)
                            : !slider->invertedAppearance();
    const QRect handle =
        slider->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider);
    fillParent(p, rect);
    const SkinElement *groove = horizontal ? m.Track.get() : m.TrackVert.get();
    if (groove) {
        const int thickness = horizontal ? groove->Bitmap.height() : groove->Bitmap.width();
        const QRect track =
            horizontal ? QRect(rect.left(), rect.center().y() - thickness / 2, rect.width(), thickness)
                       : QRect(rect.center().x() - thickness / 2, rect.top(), thickness, rect.height());
        DrawSkinElement(p, *groove, 1, track);
    }
    // The ticks, on the side or sides the slider asks for, as the plain slider spaces them.
    const int ticks = slider->tickPosition();
    int interval = slider->tickInterval() > 0 ? slider->tickInterval() : slider->pageStep();
    interval = std::max(interval, 1);
    const int handleLength = horizontal ? handle.width() : handle.height();
    const int span = (horizontal ? rect.width() : rect.height()) - handleLength;
    if (ticks != QSlider::NoTicks && span > 0 && slider->maximum() > slider->minimum()) {
        p.setPen(ToQColor(m.Colours.ButtonShadow));
        for (qint64 v = slider->minimum(); v <= slider->maximum(); v += interval) {
            const int at = handleLength / 2
                           + QStyle::sliderPositionFromValue(slider->minimum(), slider->maximum(), int(v),
                                                             span, option.upsideDown);
            for (const bool before : {true, false}) {
                if (!(ticks & (before ? QSlider::TicksAbove : QSlider::TicksBelow)))
                    continue;
                if (horizontal) {
                    const int y = before ? rect.top() : rect.bottom() - kTickLength + 1;
                    p.drawLine(at, y, at, y + kTickLength - 1);
                } else {
                    const int x = before ? rect.left() : rect.right() - kTickLength + 1;
                    p.drawLine(x, at, x + kTickLength - 1, at);
                }
            }
        }
    }
    const SkinElement *thumb = thumbPicture(m, horizontal, ticks);
    if (thumb) {
        const int state = !slider->isEnabled()     ? 4
                          : slider->isSliderDown() ? 3
                          : slider->underMouse()   ? 2
                                                   : 1;
        const QImage image = StateImage(thumb->Bitmap, thumb->FrameCount, state);
        // Across the slider the thumb keeps clear of the ticks, scaled down whole if the room is short.
        QRect target(handle.center() - QPoint(image.width() / 2, image.height() / 2), image.size());
        const int before = ticks & QSlider::TicksAbove ? kTickBand : 0;
        const int after = ticks & QSlider::TicksBelow ? kTickBand : 0;
        if (horizontal) {
            target.setTop(std::max(target.top(), rect.top() + before));
            target.setBottom(std::min(target.bottom(), rect.bottom() - after));
        } else {
            target.setLeft(std::max(target.left(), rect.left() + before));
            target.setRight(std::min(target.right(), rect.right() - after));
        }
        DrawFittedPicture(p, image, target);
    }
}

void SkinnedSpinBox::attached()
{
    trackHover(true);
}

void SkinnedSpinBox::paint(QPainter &p, const QRect &)
{
    auto *spin = qobject_cast<QAbstractSpinBox *>(control());
    const auto &picture = model().UpDownVert;
    if (!spin || !picture || picture->Bitmap.isNull() || spin->buttonSymbols() == QAbstractSpinBox::NoButtons)
        return;
    QStyleOptionSpinBox option;
    option.initFrom(spin);
    option.subControls = QStyle::SC_SpinBoxUp | QStyle::SC_SpinBoxDown;
    const QRect up = spin->style()->subControlRect(QStyle::CC_SpinBox, &option, QStyle::SC_SpinBoxUp, spin);
    const QRect down =
        spin->style()->subControlRect(QStyle::CC_SpinBox, &option, QStyle::SC_SpinBoxDown, spin);
    const bool enabled = spin->isEnabled();
    const QPoint cursor = spin->mapFromGlobal(QCursor::pos());
    const bool pressed = QGuiApplication::mouseButtons() & Qt::LeftButton;
    // Up images 1-4, down images 5-8: plain, hot, pressed, disabled.
    const auto image = [&](const QRect &r, int first) {
        if (!enabled)
            return first + 3;
        if (r.contains(cursor))
            return first + (pressed ? 2 : 1);
        return first;
    };
    p.fillRect(up | down, Qt::white);
    DrawSkinElement(p, *picture, image(up, 1), up);
    DrawSkinElement(p, *picture, image(down, 5), down);
    if (!picture->Bitmap2.isNull()) {
        const QImage glyphs = picture->Bitmap2;
        const int w = glyphs.width() / 2;
        p.drawImage(up.center() - QPoint(w / 2, glyphs.height() / 2), glyphs,
                    QRect(0, 0, w, glyphs.height()));
        p.drawImage(down.center() - QPoint(w / 2, glyphs.height() / 2), glyphs,
                    QRect(w, 0, w, glyphs.height()));
    }
}

int SkinnedTabBar::tabImage(bool current, bool enabled, bool hot)
{
    if (current)
        return 3;
    if (!enabled)
        return 4;
    return hot ? 2 : 1;
}

void SkinnedTabBar::attached()
{
    trackHover(true);
    auto *bar = qobject_cast<QTabBar *>(control());
    if (!bar || !skinData())
        return;
    buttons_ = new SkinnedTabButtons(bar, skinData(), this);
    buttons_->watchButtons();
}

void SkinnedTabBar::detaching()
{
    delete buttons_.data();
}

bool SkinnedTabBar::paintsWhole() const
{
    const auto &picture = model().Tabs;
    return picture && !picture->Bitmap.isNull() && qobject_cast<QTabBar *>(control());
}

void SkinnedTabBar::afterEvent(QEvent *event)
{
    if (event->type() == QEvent::HoverMove)
        repaint();  // the tab under the mouse changes
    // A new tab's close mark is polished as it first shows.
    if ((event->type() == QEvent::ChildPolished || event->type() == QEvent::LayoutRequest) && buttons_)
        buttons_->watchButtons();
    SkinnedControl::afterEvent(event);
}

void SkinnedTabBar::paint(QPainter &p, const QRect &rect)
{
    auto *bar = qobject_cast<QTabBar *>(control());
    const SkinBorder &picture = *model().Tabs;
    fillParent(p, rect);
    const QPoint cursor = bar->mapFromGlobal(QCursor::pos());
    for (int i = 0; i < bar->count(); ++i) {
        const QRect tab = bar->tabRect(i);
        const int image = tabImage(i == bar->currentIndex(), bar->isTabEnabled(i) && bar->isEnabled(),
                                   tab.contains(cursor));
        DrawSkinElement(p, picture, image, i == bar->currentIndex() ? tab : tab.adjusted(0, 2, 0, 0));
        QRect content = tab.adjusted(6, 0, -6, 0);
        // The text keeps clear of the tab's own buttons (its close mark).
        if (const QWidget *left = bar->tabButton(i, QTabBar::LeftSide); left && left->isVisible())
            content.setLeft(std::max(content.left(), left->geometry().right() + 3));
        if (const QWidget *right = bar->tabButton(i, QTabBar::RightSide); right && right->isVisible())
            content.setRight(std::min(content.right(), right->geometry().left() - 3));
        const QIcon icon = bar->tabIcon(i);
        if (!icon.isNull()) {
            const QSize size = bar->iconSize();
            p.drawPixmap(content.left(), content.center().y() - size.height() / 2, icon.pixmap(size));
            content.setLeft(content.left() + size.width() + 4);
        }
        p.setPen(bar->tabTextColor(i).isValid() ? bar->tabTextColor(i)
                                                : bar->palette().color(QPalette::WindowText));
        p.drawText(content, Qt::AlignCenter | Qt::TextShowMnemonic, bar->tabText(i));
    }
}

}  // namespace qasp::skin
