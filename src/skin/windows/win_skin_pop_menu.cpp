#include "skin/windows/win_skin_pop_menu.h"

#include "skin/data/skin_data.h"
#include "skin/data/skin_draw.h"
#include "skin/windows/skin_events.h"

#include <QMenu>
#include <QPainter>
#include <QPainterPath>

namespace qasp::skin {
namespace {

constexpr int kBorder = 3;       // the background picture's frame around the items
constexpr int kCheckColumn = 22; // icons and check marks
constexpr int kArrowColumn = 14;

// Light text on a dark highlight, dark text on a light one.
bool IsDark(const QImage &image)
{
    return qGray(image.pixel(image.width() / 2, image.height() / 2)) < 128;
}

}  // namespace

TWinSkinPopMenu::TWinSkinPopMenu(QWidget *menuWindow, TSkinData *skinData, int kind)
    : Kind(kind), window_(menuWindow), skinData_(skinData)
{
}

TWinSkinPopMenu::~TWinSkinPopMenu()
{
    Detach();
}

bool TWinSkinPopMenu::CanPaint() const
{
    return skinData_ && !skinData_->NoSkin() && skinData_->Model().MenuBackground &&
           !skinData_->Model().MenuBackground->Bitmap.isNull();
}

void TWinSkinPopMenu::Attach()
{
    if (attached_ || !window_)
        return;
    window_->installEventFilter(this);
    if (auto *menu = qobject_cast<QMenu *>(window_.data())) {
        savedCollapsible_ = menu->separatorsCollapsible();
        menu->setSeparatorsCollapsible(true);
    }
    attached_ = true;
    window_->update();
}

void TWinSkinPopMenu::Detach()
{
    if (!attached_)
        return;
    attached_ = false;
    Background = QImage();
    if (window_) {
        window_->removeEventFilter(this);
        if (auto *menu = qobject_cast<QMenu *>(window_.data()))
            menu->setSeparatorsCollapsible(savedCollapsible_);
        window_->update();
    }
}

bool TWinSkinPopMenu::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != window_)
        return false;
    if (AnswerSkinQuery(event))
        return true;
    if (event->type() != QEvent::Paint || !CanPaint())
        return false;
    QPainter painter(window_);
    Paint(painter);
    return true;
}

void TWinSkinPopMenu::Paint(QPainter &p)
{
    auto *menu = qobject_cast<QMenu *>(window_.data());
    const SkinModel &m = skinData_->Model();
    if (Background.size() != menu->size()) {
        Background = QImage(menu->size(), QImage::Format_ARGB32_Premultiplied);
        Background.fill(ToQColor(m.Colours.Menu));
        QPainter b(&Background);
        DrawSkinElement(b, *m.MenuBackground, 1, Background.rect());
    }
    p.drawImage(0, 0, Background);
    p.setFont(menu->font());
    const bool darkHighlight =
        !m.MenuItem || m.MenuItem->Bitmap.isNull() || IsDark(StateImage(m.MenuItem->Bitmap, m.MenuItem->FrameCount, 4));
    for (QAction *action : menu->actions()) {
        const QRect rect = menu->actionGeometry(action);
        if (!action->isVisible() || rect.isEmpty())
            continue;
        p.save();
        p.setClipRect(rect & menu->rect().adjusted(kBorder, kBorder, -kBorder, -kBorder));
        PaintItem(p, action, rect, menu->activeAction() == action && action->isEnabled(), darkHighlight);
        p.restore();
    }
}

void TWinSkinPopMenu::PaintItem(QPainter &p, QAction *action, const QRect &rect, bool selected, bool darkHighlight)
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
    QString caption = action->text();
    QString shortcut;
    if (const int tab = caption.indexOf('\t'); tab >= 0) {
        shortcut = caption.mid(tab + 1);
        caption.truncate(tab);
    } else if (!action->shortcut().isEmpty()) {
        shortcut = action->shortcut().toString(QKeySequence::NativeText);
    }
    const QRect textArea = rect.adjusted(kCheckColumn + 4, 0, -kArrowColumn, 0);
    p.setPen(text);
    p.drawText(textArea, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextShowMnemonic, caption);
    if (!shortcut.isEmpty())
        p.drawText(textArea.adjusted(0, 0, -4, 0), Qt::AlignVCenter | Qt::AlignRight, shortcut);
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
