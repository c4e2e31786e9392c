#include "skin/windows/frame_painter.h"

#include "skin/data/skin_draw.h"
#include "skin/data/skin_model.h"
#include "skin/windows/frame_drawing.h"

#include <QFontMetrics>
#include <QPainter>

namespace qasp::skin {
namespace {

// Room kept before and after the caption text.
const QString kTextPrefix = QStringLiteral(" ");
const QString kTextSuffix = QStringLiteral("  ");

}  // namespace

void FramePainter::setSkin(const SkinModel &model, int frameKind, const QImage &appIcon)
{
    metrics_ = RecalcFrameMetrics(model, frameKind);
    buttons_.clear();
    for (const auto &description : model.CaptionButtons)
        buttons_.emplace_back(description.get(), appIcon);
    appIcon_ = appIcon;
}

void FramePainter::dropSkin()
{
    buttons_.clear();
}

QString FramePainter::decoratedCaption(const QString &caption) const
{
    return kTextPrefix + caption + kTextSuffix;
}

int FramePainter::widthForCaption(const SkinTitle &title, const QString &caption) const
{
    const int text = QFontMetrics(captionFont_).horizontalAdvance(decoratedCaption(caption));
    return title.Margins.Left + text + title.Margins.Right;
}

int FramePainter::buttonAt(QPoint point) const
{
    std::vector<SysButtonSlot> placed;
    for (const CaptionButton &button : buttons_)
        placed.push_back(button.slot());
    return HitSysButton(placed, point);
}

void FramePainter::layOutCaption(const SkinModel &model, const WindowLook &window)
{
    const int width = window.size.width();
    std::vector<SysButtonSlot> placed;
    for (CaptionButton &button : buttons_) {
        button.setVisible(SysButtonShown(button.description(), window.facts));
        placed.push_back(button.slot());
    }
    CaptionTextFacts text;
    text.WindowWidth = width;
    text.CaptionHeight = metrics_.CaptionHeight;
    text.TextSize = QFontMetrics(captionFont_).size(Qt::TextSingleLine, decoratedCaption(window.caption));
    text.RightToLeft = window.rightToLeft;
    text.DialogFrame = window.facts.FrameKind == kDialogFrame;
    text.RightLimit = CaptionRightLimit(placed, width);
    captionTextRect_ = PlaceCaptionText(model.Title, text);
    const int menuBarLeft = model.MenuBar ? model.MenuBar->Margins.Left : 0;
    PlaceSysButtons(placed, width, captionTextRect_, metrics_, menuBarLeft, window.rightToLeft);
    for (size_t i = 0; i < placed.size(); ++i)
        buttons_[i].setBounds(placed[i].Bounds);
}

void FramePainter::paintIcon(QPainter &painter, const QIcon &icon, const QRect &bounds) const
{
    if (!icon.isNull())
        painter.drawPixmap(bounds, icon.pixmap(bounds.size()));
    else if (!appIcon_.isNull())
        painter.drawImage(bounds, appIcon_);
}

void FramePainter::paintCaptionStrip(QPainter &painter, const SkinModel &model, const WindowLook &window)
{
    const int width = window.size.width();
    const bool active = window.facts.IsActive;
    const FrameRects r = LayOutFrame(window.size, metrics_);
    QImage caption(width, metrics_.CaptionHeight, QImage::Format_ARGB32_Premultiplied);
    caption.fill(Qt::transparent);
    QPainter strip(&caption);
    // The sides run the whole height: their caption rows are the corners.
    DrawFrameBorder(strip, model.Left, r.Left, active);
    DrawFrameBorder(strip, model.Right, r.Right, active);
    DrawFrameBorder(strip, model.Top, r.Top, active);

    layOutCaption(model, window);
    const SkinTitle &title = model.Title;
    if (title.Textbackground && !title.Bitmap.isNull())
        DrawNineSlice(strip, captionTextRect_, StateImage(title.Bitmap, 2, active ? 1 : 2),
                      SkinMargins{title.TXTBackleft, 0, title.TXTBackRight, 0}, false);
    const QRect textArea = captionTextRect_.adjusted(title.TXTBackleft, 0, -title.TXTBackRight, 0);
    if (textArea.width() > 0) {
        strip.setFont(captionFont_);
        strip.setPen(ToQColor(active ? model.Colours.TitleTextActive : model.Colours.TitleTextNoActive));
        const QString text =
            QFontMetrics(captionFont_)
                .elidedText(decoratedCaption(window.caption), Qt::ElideRight, textArea.width());
        strip.drawText(textArea,
                       Qt::TextSingleLine | Qt::AlignVCenter
                           | (window.rightToLeft ? Qt::AlignRight : Qt::AlignLeft),
                       text);
    }
    for (size_t i = 0; i < buttons_.size(); ++i) {
        const CaptionButton &button = buttons_[i];
        if (button.inMenuBar() || !button.isVisible())
            continue;
        if (button.isIcon()) {
            paintIcon(strip, window.icon, button.bounds());
            continue;
        }
        const int index = static_cast<int>(i);
        const CaptionButton::Look look = index == window.pressedButton ? CaptionButton::Look::Pressed
                                         : index == window.hotButton   ? CaptionButton::Look::Hot
                                                                       : CaptionButton::Look::Normal;
        button.paint(strip, look, active);
    }
    strip.end();
    painter.drawImage(0, 0, caption);
}

void FramePainter::paint(QPainter &painter, const SkinModel &model, const WindowLook &window)
{
    const FrameRects r = LayOutFrame(window.size, metrics_);
    const bool active = window.facts.IsActive;
    DrawFrameBorder(painter, model.Left, r.Left, active);
    DrawFrameBorder(painter, model.Right, r.Right, active);
    DrawFrameBorder(painter, model.Bottom, r.Bottom, active);
    if (metrics_.CaptionHeight > 0)
        paintCaptionStrip(painter, model, window);
    if (metrics_.MenuBarHeight > 0)
        painter.fillRect(r.MenuBar, ToQColor(model.Colours.ButtonFace));
}

bool FramePainter::updateShape(const SkinModel &model, const FrameMetrics &applied, QSize size, int frameKind,
                               bool force)
{
    if (size.isEmpty() || (size == shapeSize_ && !force))
        return false;
    shape_ = BuildFrameRegion(model, applied, size, frameKind);
    shapeSize_ = size;
    return true;
}

void FramePainter::clearShape()
{
    shape_ = QRegion();
    shapeSize_ = QSize();
}

}  // namespace qasp::skin
