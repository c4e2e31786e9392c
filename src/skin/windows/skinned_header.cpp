#include "skin/windows/skinned_header.h"

#include "skin/data/skin_data.h"
#include "skin/data/skin_draw.h"

#include <QHeaderView>
#include <QHoverEvent>
#include <QPainter>

namespace qasp::skin {

SkinnedHeader::SkinnedHeader(QHeaderView *header) : SkinnedControl(header->viewport()), header_(header) {}

void SkinnedHeader::attached()
{
    trackHover(true);
}

bool SkinnedHeader::paintsWhole() const
{
    return model().Headerbar != nullptr;
}

bool SkinnedHeader::beforeEvent(QEvent *event)
{
    if (SkinnedControl::beforeEvent(event))
        return true;
    if (!paintsWhole())
        return false;
    switch (event->type()) {
    case QEvent::HoverMove: {
        const QPoint at = static_cast<QHoverEvent *>(event)->position().toPoint();
        const int section = header_->logicalIndexAt(at);
        if (section != hotSection_) {
            hotSection_ = section;
            repaint();
        }
        return false;
    }
    case QEvent::HoverLeave:
        hotSection_ = -1;
        repaint();
        return false;
    default: return false;
    }
}

void SkinnedHeader::paint(QPainter &p, const QRect &rect)
{
    const SkinElement &bar = *model().Headerbar;
    const bool horizontal = header_->orientation() == Qt::Horizontal;
    fillFace(p, rect);
    int end = 0;
    for (int visual = 0; visual < header_->count(); ++visual) {
        const int logical = header_->logicalIndex(visual);
        if (header_->isSectionHidden(logical))
            continue;
        const int start = header_->sectionViewportPosition(logical);
        const int size = header_->sectionSize(logical);
        const QRect section =
            horizontal ? QRect(start, 0, size, rect.height()) : QRect(0, start, rect.width(), size);
        end = std::max(end, start + size);
        DrawSkinElement(p, bar, logical == hotSection_ ? 2 : 1, section);
        const QVariant alignment =
            header_->model()
                ? header_->model()->headerData(logical, header_->orientation(), Qt::TextAlignmentRole)
                : QVariant();
        const Qt::Alignment align =
            alignment.isValid() ? Qt::Alignment(alignment.toInt()) : header_->defaultAlignment();
        const QString text =
            header_->model()
                ? header_->model()->headerData(logical, header_->orientation(), Qt::DisplayRole).toString()
                : QString();
        p.setPen(header_->palette().color(QPalette::ButtonText));
        p.drawText(section.adjusted(4, 0, -4, 0), int(align | Qt::AlignVCenter), text);
    }
    // The part beyond the last section.
    const QRect rest = horizontal ? QRect(end, 0, rect.width() - end, rect.height())
                                  : QRect(0, end, rect.width(), rect.height() - end);
    if (!rest.isEmpty())
        DrawSkinElement(p, bar, 1, rest);
}

}  // namespace qasp::skin
