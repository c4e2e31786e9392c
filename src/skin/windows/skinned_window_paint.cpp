// Painting a skinned frame: the borders, then the caption strip composed
// off-screen (borders, text, buttons) and copied in one piece, so the
// caption never flickers.
#include "skin/windows/skinned_window.h"

#include "skin/data/skin_data.h"
#include "skin/data/skin_draw.h"
#include "skin/windows/frame_drawing.h"
#include "skin/windows/skin_events.h"

#include <QPainter>
#include <QWidget>

namespace qasp::skin {

QString SkinnedWindow::CaptionText() const
{
    if (!window_)
        return {};
    QString title = window_->windowTitle();
    const int mark = title.indexOf(QLatin1String("[*]"));
    if (mark >= 0)
        title.replace(mark, 3, window_->isWindowModified() ? QStringLiteral("*") : QString());
    return title;
}

void SkinnedWindow::RepaintFrame()
{
    if (!window_ || !SkinsFrame)
        return;
    QWidget *w = window_;
    w->update(QRegion(w->rect()) - QRegion(w->contentsRect()));
}

void SkinnedWindow::RepaintFrameRect(const QRect &rect)
{
    if (window_ && !rect.isEmpty())
        window_->update(rect);
}

void SkinnedWindow::LayOutCaption(int width)
{
    const SkinModel &model = skinData_->Model();
    ButtonFacts facts;
    facts.WindowState = WindowState;
    facts.IsActive = IsActive;
    facts.Capabilities = Capabilities;
    facts.FrameKind = FrameKind;
    facts.IsSystemDialog = IsSystemDialog;
    QWidget *w = window_;
    facts.AskApplication = [w](int visibility, int action) {
        return static_cast<int>(SendSkinMessage(w, kButtonVisibleEvent, visibility, action));
    };
    std::vector<SysButtonSlot> buttons;
    for (const auto &button : SysButtons) {
        button->Visible = SysButtonShown(*button->Description, facts);
        buttons.push_back(button->Slot());
    }
    CaptionRightLimit = skin::CaptionRightLimit(buttons, width);
    CaptionTextFacts text;
    text.WindowWidth = width;
    text.CaptionHeight = Metrics.CaptionHeight;
    text.TextSize = QFontMetrics(CaptionFont).size(Qt::TextSingleLine, TextPrefix + CaptionText() + TextSuffix);
    text.RightToLeft = RightToLeft;
    text.DialogFrame = FrameKind == kDialogFrame;
    text.RightLimit = CaptionRightLimit;
    CaptionTextRect = PlaceCaptionText(model.Title, text);
    const int menuBarLeft = model.MenuBar ? model.MenuBar->Margins.Left : 0;
    PlaceSysButtons(buttons, width, CaptionTextRect, Metrics, menuBarLeft, RightToLeft);
    for (size_t i = 0; i < buttons.size(); ++i)
        SysButtons[i]->Bounds = buttons[i].Bounds;
}

void SkinnedWindow::PaintCaptionIcon(QPainter &painter, const QRect &bounds) const
{
    const QIcon icon = window_ ? window_->windowIcon() : QIcon();
    if (!icon.isNull()) {
        painter.drawPixmap(bounds, icon.pixmap(bounds.size()));
        return;
    }
    if (!IconBitmap.isNull())
        painter.drawImage(bounds, WithMagentaTransparent(IconBitmap));
}

void SkinnedWindow::PaintCaptionStrip(QPainter &painter, int width)
{
    const SkinModel &model = skinData_->Model();
    const FrameRects r = LayOutFrame(window_->size(), Metrics);
    QImage caption(width, Metrics.CaptionHeight, QImage::Format_ARGB32_Premultiplied);
    caption.fill(Qt::transparent);
    QPainter strip(&caption);
    // The sides run the whole height: their caption rows are the corners.
    DrawFrameBorder(strip, model.Left, r.Left, IsActive);
    DrawFrameBorder(strip, model.Right, r.Right, IsActive);
    DrawFrameBorder(strip, model.Top, r.Top, IsActive);

    LayOutCaption(width);
    const SkinTitle &title = model.Title;
    if (title.Textbackground && !title.Bitmap.isNull())
        DrawNineSlice(strip, CaptionTextRect, StateImage(title.Bitmap, 2, IsActive ? 1 : 2),
                      SkinMargins{title.TXTBackleft, 0, title.TXTBackRight, 0}, title.Trans != 0, false);
    const QRect textArea = CaptionTextRect.adjusted(title.TXTBackleft, 0, -title.TXTBackRight, 0);
    if (textArea.width() > 0) {
        strip.setFont(CaptionFont);
        strip.setPen(ToQColor(IsActive ? model.Colours.TitleTextActive : model.Colours.TitleTextNoActive));
        const QString text = QFontMetrics(CaptionFont).elidedText(TextPrefix + CaptionText() + TextSuffix,
                                                                  Qt::ElideRight, textArea.width());
        strip.drawText(textArea, Qt::TextSingleLine | Qt::AlignVCenter | (RightToLeft ? Qt::AlignRight : Qt::AlignLeft),
                       text);
    }
    for (const auto &button : SysButtons)
        if (button->Description->Visibility != 100)  // the menu bar paints those
            button->Paint(strip);
    strip.end();
    painter.drawImage(0, 0, caption);
}

void SkinnedWindow::PaintFrame(QPainter &painter)
{
    if (!window_ || !skinData_ || skinData_->NoSkin() || !skinData_->FramePainting)
        return;
    if ((State != kReady && State != kRefreshing) || FrameKind == kNoCaption)
        return;
    const SkinModel &model = skinData_->Model();
    const QSize size = window_->size();
    const FrameRects r = LayOutFrame(size, Metrics);
    DrawFrameBorder(painter, model.Left, r.Left, IsActive);
    DrawFrameBorder(painter, model.Right, r.Right, IsActive);
    DrawFrameBorder(painter, model.Bottom, r.Bottom, IsActive);
    if (Metrics.CaptionHeight > 0)
        PaintCaptionStrip(painter, size.width());
    if (Metrics.MenuBarHeight > 0)
        painter.fillRect(r.MenuBar, ToQColor(model.Colours.ButtonFace));
}

}  // namespace qasp::skin
