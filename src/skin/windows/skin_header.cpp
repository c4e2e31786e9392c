#include "skin/windows/skin_header.h"

#include "skin/data/skin_data.h"
#include "skin/data/skin_draw.h"

#include <QHeaderView>
#include <QHoverEvent>
#include <QPainter>

namespace qasp::skin {

TSkinHeader::TSkinHeader(QHeaderView *header) : TSkinControl(header->viewport()), header_(header) {}

void TSkinHeader::Attached()
{
    TrackHover(true);
}

bool TSkinHeader::PaintsWhole() const
{
    return SkinData->Model().Headerbar != nullptr;
}

bool TSkinHeader::BeforeMessage(QEvent *event)
{
    if (TSkinControl::BeforeMessage(event))
        return true;
    if (!PaintsWhole())
        return false;
    switch (event->type()) {
    case QEvent::HoverMove: {
        const QPoint at = static_cast<QHoverEvent *>(event)->position().toPoint();
        const int section = header_->logicalIndexAt(at);
        if (section != HotSection) {
            HotSection = section;
            Repaint();
        }
        return false;
    }
    case QEvent::HoverLeave:
        HotSection = -1;
        Repaint();
        return false;
    default:
        return false;
    }
}

void TSkinHeader::Paint(QPainter &p, const QRect &rect)
{
    const TDataSkinObject &bar = *SkinData->Model().Headerbar;
    const bool horizontal = header_->orientation() == Qt::Horizontal;
    FillFace(p, rect);
    int end = 0;
    for (int visual = 0; visual < header_->count(); ++visual) {
        const int logical = header_->logicalIndex(visual);
        if (header_->isSectionHidden(logical))
            continue;
        const int start = header_->sectionViewportPosition(logical);
        const int size = header_->sectionSize(logical);
        const QRect section = horizontal ? QRect(start, 0, size, rect.height()) : QRect(0, start, rect.width(), size);
        end = std::max(end, start + size);
        DrawSkinElement(p, bar, logical == HotSection ? 2 : 1, section);
        const QVariant alignment = header_->model()
                                       ? header_->model()->headerData(logical, header_->orientation(),
                                                                      Qt::TextAlignmentRole)
                                       : QVariant();
        const Qt::Alignment align = alignment.isValid() ? Qt::Alignment(alignment.toInt())
                                                        : header_->defaultAlignment();
        const QString text = header_->model() ? header_->model()
                                                    ->headerData(logical, header_->orientation(), Qt::DisplayRole)
                                                    .toString()
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
