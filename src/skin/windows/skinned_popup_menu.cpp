#include "skin/windows/skinned_popup_menu.h"

#include "skin/data/skin_data.h"
#include "skin/data/skin_draw.h"
#include "skin/windows/skin_events.h"

#include <QFontMetrics>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <utility>

namespace qasp::skin {
namespace {

constexpr int kBorder = 3;        // the background picture's frame around the items
constexpr int kCheckColumn = 22;  // icons and check marks
constexpr int kArrowColumn = 14;
constexpr int kCaptionIndent = 4;
constexpr int kShortcutGap = 16;  // between a caption and its shortcut
constexpr int kShortcutIndent = 4;

// An item's caption and shortcut as painted: the text after a tab is the
// shortcut, otherwise the action's own.
std::pair<QString, QString> CaptionAndShortcut(const QAction *action)
{
    QString caption = action->text();
    QString shortcut;
    if (const int tab = caption.indexOf('\t'); tab >= 0) {
        shortcut = caption.mid(tab + 1);
        caption.truncate(tab);
    } else if (!action->shortcut().isEmpty()) {
        shortcut = action->shortcut().toString(QKeySequence::NativeText);
    }
    return {caption, shortcut};
}

// Light text on a dark highlight, dark text on a light one.
bool IsDark(const QImage &image)
{
    return qGray(image.pixel(image.width() / 2, image.height() / 2)) < 128;
}

}  // namespace

SkinnedPopupMenu::SkinnedPopupMenu(QWidget *menu, SkinData *skinData, int kind)
    : kind_(kind),
      menu_(menu),
      skinData_(skinData)
{
}

SkinnedPopupMenu::~SkinnedPopupMenu()
{
    detach();
}

bool SkinnedPopupMenu::canPaint() const
{
    return skinData_ && !skinData_->NoSkin() && skinData_->Model().MenuBackground
           && !skinData_->Model().MenuBackground->Bitmap.isNull();
}

void SkinnedPopupMenu::attach()
{
    if (attached_ || !menu_)
        return;
    menu_->installEventFilter(this);
    if (auto *menu = qobject_cast<QMenu *>(menu_.data())) {
        savedCollapsible_ = menu->separatorsCollapsible();
        menu->setSeparatorsCollapsible(true);
    }
    attached_ = true;
    savedMinimumWidth_ = menu_->minimumWidth();
    fitItems();
    menu_->update();
}

int SkinnedPopupMenu::itemWidth(const QFontMetrics &metrics, const QAction *action)
{
    if (action->isSeparator())
        return 0;
    const auto [caption, shortcut] = CaptionAndShortcut(action);
    int width =
        kCheckColumn + kCaptionIndent + metrics.size(Qt::TextShowMnemonic, caption).width() + kArrowColumn;
    if (!shortcut.isEmpty())
        width += kShortcutGap + metrics.horizontalAdvance(shortcut) + kShortcutIndent;
    return width;
}

void SkinnedPopupMenu::fitItems()
{
    auto *menu = qobject_cast<QMenu *>(menu_.data());
    if (!menu || !canPaint())
        return;
    const QFontMetrics metrics(menu->font());
    int deficit = 0;
    for (QAction *action : menu->actions()) {
        const QRect rect = menu->actionGeometry(action);
        if (action->isVisible() && !rect.isEmpty())
            deficit = std::max(deficit, itemWidth(metrics, action) - rect.width());
    }
    // The menu lays its items out again at the new width, each as wide as the widest.
    if (deficit > 0)
        menu->setMinimumWidth(menu->width() + deficit);
}

void SkinnedPopupMenu::detach()
{
    if (!attached_)
        return;
    attached_ = false;
    background_ = QImage();
    if (menu_) {
        menu_->removeEventFilter(this);
        if (auto *menu = qobject_cast<QMenu *>(menu_.data()))
            menu->setSeparatorsCollapsible(savedCollapsible_);
        menu_->setMinimumWidth(savedMinimumWidth_);
        menu_->update();
    }
}

bool SkinnedPopupMenu::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != menu_)
        return false;
    if (AnswerSkinQuery(event))
        return true;
    if (event->type() != QEvent::Paint || !canPaint())
        return false;
    QPainter painter(menu_);
    paint(painter);
    return true;
}

void SkinnedPopupMenu::paint(QPainter &p)
{
    auto *menu = qobject_cast<QMenu *>(menu_.data());
    const SkinModel &m = skinData_->Model();
    if (background_.size() != menu->size()) {
        background_ = QImage(menu->size(), QImage::Format_ARGB32_Premultiplied);
        background_.fill(ToQColor(m.Colours.Menu));
        QPainter b(&background_);
        DrawSkinElement(b, *m.MenuBackground, 1, background_.rect());
    }
    p.drawImage(0, 0, background_);
    p.setFont(menu->font());
    const bool darkHighlight = !m.MenuItem || m.MenuItem->Bitmap.isNull()
                               || IsDark(StateImage(m.MenuItem->Bitmap, m.MenuItem->FrameCount, 4));
    for (QAction *action : menu->actions()) {
        const QRect rect = menu->actionGeometry(action);
        if (!action->isVisible() || rect.isEmpty())
            continue;
        p.save();
        p.setClipRect(rect & menu->rect().adjusted(kBorder, kBorder, -kBorder, -kBorder));
        paintItem(p, action, rect, menu->activeAction() == action && action->isEnabled(), darkHighlight);
        p.restore();
    }
}

void SkinnedPopupMenu::paintItem(QPainter &p, QAction *action, const QRect &rect, bool selected,
                                 bool darkHighlight)
{
    const SkinModel &m = skinData_->Model();
    const SkinColourTable &c = m.Colours;
    if (action->isSeparator()) {
        const int y = rect.center().y();
        p.setPen(ToQColor(c.ButtonShadow));
        p.drawLine(rect.left() + 2, y, rect.right() - 2, y);
        p.setPen(ToQColor(c.ButtonHilight));
        p.drawLine(rect.left() + 2, y + 1, rect.right() - 2, y + 1);
        return;
    }
    if (m.MenuItem && !m.MenuItem->Bitmap.isNull())
        DrawSkinElement(p, *m.MenuItem, selected ? 4 : 1, rect);
    else if (selected)
        p.fillRect(rect, ToQColor(c.Hilight));
    QColor text = ToQColor(selected && darkHighlight ? c.HilightText : c.MenuText);
    if (!action->isEnabled())
        text = ToQColor(c.ButtonShadow);

    // The icon, or a check mark for a checked item without one.
    const QRect column(rect.left(), rect.top(), kCheckColumn, rect.height());
    if (!action->icon().isNull()) {
        const QIcon::Mode mode = action->isEnabled() ? QIcon::Normal : QIcon::Disabled;
        const QPixmap icon = action->icon().pixmap(QSize(16, 16), mode);
        const QRect at(column.center() - QPoint(7, 7), QSize(16, 16));
        if (action->isChecked()) {
            p.fillRect(at.adjusted(-2, -2, 2, 2), ToQColor(c.Buttonlight));
            p.setPen(ToQColor(c.ButtonShadow));
            p.drawRect(at.adjusted(-2, -2, 1, 1));
        }
        p.drawPixmap(at, icon);
    } else if (action->isChecked()) {
        QPainterPath tick;
        const QPointF o = column.center();
        tick.moveTo(o + QPointF(-4, 0));
        tick.lineTo(o + QPointF(-1, 3));
        tick.lineTo(o + QPointF(4, -3));
        p.save();
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(text, 2));
        p.drawPath(tick);
        p.restore();
    }

    // Caption, shortcut and the sub-menu arrow.
    const auto [caption, shortcut] = CaptionAndShortcut(action);
    const QRect textArea = rect.adjusted(kCheckColumn + kCaptionIndent, 0, -kArrowColumn, 0);
    p.setPen(text);
    p.drawText(textArea, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextShowMnemonic, caption);
    if (!shortcut.isEmpty())
        p.drawText(textArea.adjusted(0, 0, -kShortcutIndent, 0), Qt::AlignVCenter | Qt::AlignRight, shortcut);
    if (action->menu()) {
        const QPointF tip(rect.right() - 6, rect.center().y() + 0.5);
        QPainterPath arrow;
        arrow.moveTo(tip + QPointF(-4, -4));
        arrow.lineTo(tip);
        arrow.lineTo(tip + QPointF(-4, 4));
        arrow.closeSubpath();
        p.fillPath(arrow, text);
    }
}

}  // namespace qasp::skin
