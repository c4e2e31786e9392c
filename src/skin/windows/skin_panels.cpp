#include "skin/windows/skin_panels.h"

#include "skin/data/skin_data.h"
#include "skin/data/skin_draw.h"

#include <QGroupBox>
#include <QPainter>
#include <QStatusBar>
#include <QToolBar>

namespace qasp::skin {

void TSkinBox::Attached()
{
    // The skin's face colour replaces the program's own colouring.
    savedStyleSheet_ = Window()->styleSheet();
    if (!savedStyleSheet_.isEmpty())
        Window()->setStyleSheet(QString());
    if (WithBackground)
        Window()->setAutoFillBackground(true);
}

void TSkinBox::Detaching()
{
    if (!savedStyleSheet_.isEmpty())
        Window()->setStyleSheet(savedStyleSheet_);
}

bool TSkinBox::PaintsWhole() const
{
    // A tool bar shows the skin's tool bar picture unless the skin says its
    // background stays plain; every other box only takes the face colour.
    return qobject_cast<QToolBar *>(Window()) && SkinData->Model().Toolbar && !SkinData->Has(xoToolbarBK);
}

void TSkinBox::Paint(QPainter &p, const QRect &rect)
{
    const auto &picture = SkinData->Model().Toolbar;
    p.drawImage(rect, StateImage(picture->Bitmap, picture->FrameCount, 1));
}

void TSkinStatusBar::Attached()
{
    const auto &edges = SkinData->Model().StatusBarEdges;
    if (edges && edges->NormalColour >= 0) {
        QPalette palette = Window()->palette();
        palette.setColor(QPalette::WindowText, ToQColor(edges->NormalColour));
        Window()->setPalette(palette);
    }
}

bool TSkinStatusBar::PaintsWhole() const
{
    return SkinData->Model().StatusBarEdges != nullptr;
}

void TSkinStatusBar::Paint(QPainter &p, const QRect &rect)
{
    auto *bar = qobject_cast<QStatusBar *>(Window());
    const TDataSkinObject &edges = *SkinData->Model().StatusBarEdges;
    FillFace(p, rect);
    // The panels are the bar's own widgets; a message shown for a while
    // covers them with one simple panel.
    std::vector<QRect> panels;
    if (bar->currentMessage().isEmpty())
        for (QWidget *child : bar->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            if (child->isVisible() && !child->inherits("QSizeGrip"))
                panels.push_back(child->geometry().adjusted(-2, 0, 2, 0) & rect);
    if (panels.empty()) {
        DrawSkinElement(p, edges, 1, rect);
        p.setPen(bar->palette().color(QPalette::WindowText));
        p.drawText(rect.adjusted(2, 0, -2, 0), Qt::AlignVCenter | Qt::AlignLeft,
                   bar->currentMessage().isEmpty() ? QStringLiteral(" ") : bar->currentMessage());
        return;
    }
    std::sort(panels.begin(), panels.end(), [](const QRect &a, const QRect &b) { return a.left() < b.left(); });
    panels.back().setRight(rect.right());  // the last panel reaches the bar's end
    for (const QRect &panel : panels)
        DrawSkinElement(p, edges, 1, panel);
}

bool TSkinGroupBox::PaintsWhole() const
{
    return Control != nullptr;
}

void TSkinGroupBox::Paint(QPainter &p, const QRect &rect)
{
    auto *group = qobject_cast<QGroupBox *>(Window());
    const SkinColourTable &c = SkinData->Model().Colours;
    FillFace(p, rect);
    const QString title = group ? group->title() : QString();
    const int top = p.fontMetrics().height() / 2;
    const QRect frame = rect.adjusted(0, top, -1, -1);
    p.setPen(ToQColor(c.ButtonShadow));
    p.drawRect(frame.adjusted(0, 0, -1, -1));
    p.setPen(ToQColor(c.ButtonHilight));
    p.drawRect(frame.adjusted(1, 1, 0, 0));
    if (title.isEmpty())
        return;
    QRect text = p.fontMetrics().boundingRect(QRect(8, 0, rect.width() - 16, p.fontMetrics().height()),
                                              Qt::AlignLeft | Qt::TextShowMnemonic, title);
    p.fillRect(text.adjusted(-2, 0, 2, 0), FaceColour());
    p.setPen(group->palette().color(group->isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    p.drawText(text, Qt::AlignLeft | Qt::TextShowMnemonic, title);
}

bool TSkinSizer::PaintsWhole() const
{
    return SkinData->Model().ExtraImages != nullptr;
}

void TSkinSizer::Paint(QPainter &p, const QRect &rect)
{
    const TDataSkinObject &extra = *SkinData->Model().ExtraImages;
    FillFace(p, rect);
    const QImage grip = WithMagentaTransparent(StateImage(extra.Bitmap, extra.FrameCount, 5));
    p.drawImage(rect.bottomRight() - QPoint(grip.width() - 1, grip.height() - 1), grip);
}

}  // namespace qasp::skin
