// Painting a skinned frame: the borders, then the caption strip (side
// borders, text, buttons) composed off-screen and copied in one piece, so
// the caption never flickers; and the window's shape, cut where a border
// with its Trans flag is magenta. The painter keeps what the skin gives a
// frame, its metrics and caption buttons; the buttons point into the
// skin's model and are dropped before the model goes.
#pragma once

#include "skin/windows/caption_button.h"
#include "skin/windows/frame_geometry.h"

#include <QFont>
#include <QIcon>
#include <QImage>
#include <QRegion>
#include <QString>

#include <vector>

class QPainter;

namespace qasp::skin {

struct SkinModel;

class FramePainter {
public:
    // What the painter knows of the window when it lays out and paints.
    struct WindowLook {
        QSize size;
        QString caption;  // the title as shown
        QIcon icon;       // the window's own; the application's picture without one
        bool rightToLeft = false;
        ButtonFacts facts;  // state, activity, capabilities, frame kind
        int hotButton = -1, pressedButton = -1;
    };

    // Takes the frame's metrics and caption buttons from the model.
    void setSkin(const SkinModel &model, int frameKind, const QImage &appIcon);
    // The model is about to go: nothing may point into it.
    void dropSkin();
    void setAppIcon(const QImage &appIcon) { appIcon_ = appIcon; }

    const FrameMetrics &metrics() const { return metrics_; }
    const std::vector<CaptionButton> &buttons() const { return buttons_; }

    const QFont &captionFont() const { return captionFont_; }
    void setCaptionFont(const QFont &font) { captionFont_ = font; }
    // The caption as drawn, with the room kept before and after it.
    QString decoratedCaption(const QString &caption) const;
    // How wide the window must be to show the whole caption.
    int widthForCaption(const SkinTitle &title, const QString &caption) const;

    // The shown caption button under a point of the window, or -1. The
    // buttons are where the last painting put them.
    int buttonAt(QPoint point) const;

    // Paints the frame into the window's margins, laying the caption out.
    void paint(QPainter &painter, const SkinModel &model, const WindowLook &window);

    // The window's shape for this size; rebuilt when the size changed or
    // when forced. True when it was rebuilt.
    bool updateShape(const SkinModel &model, const FrameMetrics &applied, QSize size, int frameKind,
                     bool force);
    const QRegion &shape() const { return shape_; }
    void clearShape();

private:
    void layOutCaption(const SkinModel &model, const WindowLook &window);
    void paintCaptionStrip(QPainter &painter, const SkinModel &model, const WindowLook &window);
    void paintIcon(QPainter &painter, const QIcon &icon, const QRect &bounds) const;

    FrameMetrics metrics_;
    std::vector<CaptionButton> buttons_;
    QImage appIcon_;
    QFont captionFont_;
    QRect captionTextRect_;
    QRegion shape_;
    QSize shapeSize_;
};

}  // namespace qasp::skin
