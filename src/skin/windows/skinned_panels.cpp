#include "skin/windows/skinned_panels.h"

#include "skin/data/skin_data.h"
#include "skin/data/skin_draw.h"

#include <QGroupBox>
#include <QPainter>
#include <QStatusBar>
#include <QToolBar>

#include <algorithm>

namespace qasp::skin {

void SkinnedPanel::takingBackground()
{
    // The skin's face colour replaces the program's own colouring. Clearing
    // a style sheet puts back the palette from before it was set, so this
    // comes before the face colour is taken.
    savedStyleSheet_ = control()->styleSheet();
    if (!savedStyleSheet_.isEmpty())
        control()->setStyleSheet(QString());
}

void SkinnedPanel::attached()
{
    if (withBackground())
        control()->setAutoFillBackground(true);
}

void SkinnedPanel::backgroundGivenBack()
{
    // After the palette is given back, so the style sheet keeps the plain
    // palette (not a skin's) to put back when it is cleared again.
    if (!savedStyleSheet_.isEmpty())
        control()->setStyleSheet(savedStyleSheet_);
}

bool SkinnedPanel::paintsWhole() const
{
    // A tool bar shows the skin's tool bar picture unless the skin says its
    // background stays plain; every other box only takes the face colour.
    return qobject_cast<QToolBar *>(control()) && model().Toolbar && !skinData()->Has(xoToolbarBK);
}

void SkinnedPanel::paint(QPainter &p, const QRect &rect)
{
    const auto &picture = model().Toolbar;
    p.drawImage(rect, StateImage(picture->Bitmap, picture->FrameCount, 1));
}

void SkinnedStatusBar::attached()
{
    const auto &edges = model().StatusBarEdges;
    if (edges && edges->NormalColour >= 0) {
        QPalette palette = control()->palette();
        palette.setColor(QPalette::WindowText, ToQColor(edges->NormalColour));
        control()->setPalette(palette);
    }
}

bool SkinnedStatusBar::paintsWhole() const
{
    return model().StatusBarEdges != nullptr;
}

void SkinnedStatusBar::paint(QPainter &p, const QRect &rect)
{
    auto *bar = qobject_cast<QStatusBar *>(control());
    const SkinElement &edges = *model().StatusBarEdges;
    fillFace(p, rect);
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
    std::sort(panels.begin(), panels.end(),
              [](const QRect &a, const QRect &b) { return a.left() < b.left(); });
    panels.back().setRight(rect.right());  // the last panel reaches the bar's end
    for (const QRect &panel : panels)
        DrawSkinElement(p, edges, 1, panel);
}

bool SkinnedGroupBox::paintsWhole() const
{
    return isFormControl();
}

void SkinnedGroupBox::paint(QPainter &p, const QRect &rect)
{
    auto *group = qobject_cast<QGroupBox *>(control());
    const SkinColourTable &c = model().Colours;
    fillFace(p, rect);
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
    p.fillRect(text.adjusted(-2, 0, 2, 0), faceColour());
    p.setPen(group->palette().color(group->isEnabled() ? QPalette::Active : QPalette::Disabled,
                                    QPalette::WindowText));
    p.drawText(text, Qt::AlignLeft | Qt::TextShowMnemonic, title);
}

void SkinnedSizeGrip::attached()
{
    QWidget *grip = control();
    if (grip && grip->parentWidget() && grip->parentWidget()->isWindow() && !grip->isHidden()) {
        grip->hide();
        hidGrip_ = true;
    }
}

void SkinnedSizeGrip::detaching()
{
    if (hidGrip_ && control())
        control()->show();
    hidGrip_ = false;
}

void SkinnedSizeGrip::paint(QPainter &p, const QRect &rect)
{
    const SkinColourTable &c = model().Colours;
    fillFace(p, rect);
    // Three ridges across the corner, each a shadow pair and a highlight.
    const QPoint corner = rect.bottomRight();
    const int reach = std::min(rect.width(), rect.height()) - 1;
    for (int k = 1; k + 2 <= reach; k += 4) {
        p.setPen(ToQColor(c.ButtonShadow));
        p.drawLine(corner + QPoint(-k, 0), corner + QPoint(0, -k));
        p.drawLine(corner + QPoint(-k - 1, 0), corner + QPoint(0, -k - 1));
        p.setPen(ToQColor(c.ButtonHilight));
        p.drawLine(corner + QPoint(-k - 2, 0), corner + QPoint(0, -k - 2));
    }
}

}  // namespace qasp::skin
