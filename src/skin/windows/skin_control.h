// TSkinControl: the base of the objects that paint one control of a
// skinned window from the skin. It watches the control's events, lets the
// control do its own work, and replaces or completes its painting; what it
// changes on the control it gives back when detached. 0x3506 switches its
// painting off and on.
#pragma once

#include <QEvent>
#include <QObject>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

namespace qasp::skin {

class TDataSkinObject;
class TSkinData;
class TWinSkinForm;

class TSkinControl : public QObject {
    Q_OBJECT
public:
    enum AttachState { kNew = 0, kAttached = 1, kDetached = 2, kDead = 6 };
    enum MouseBits { kHot = 1, kPressed = 2 };

    explicit TSkinControl(QWidget *control);
    ~TSkinControl() override;

    QWidget *Window() const { return window_; }
    QWidget *Control = nullptr;  // the program's own control; none in a toolkit dialog box
    QPointer<TSkinData> SkinData;
    QPointer<TWinSkinForm> Owner;
    bool Painting = true;
    bool WithBackground = false;
    bool Transparent = false;  // drawn on its parent's background
    bool PaintsAll = false;    // paints the whole control, text included
    int MouseState = 0;
    int State = kNew;

    // For the program's own control, and for a control of a dialog box.
    void AttachControl(TWinSkinForm *owner, TSkinData *skinData, bool withBackground);
    void AttachWindow(TWinSkinForm *owner, TSkinData *skinData);
    virtual void Detach();
    virtual void UpdateFromSkin();
    void Repaint();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

    // Called once attached, and before detaching: what the member changes
    // on its control, and how it gives it back.
    virtual void Attached() {}
    virtual void Detaching() {}
    // True stops the event: the control never sees it.
    virtual bool BeforeMessage(QEvent *event);
    virtual void AfterMessage(QEvent *event);
    // Members that paint over the control's own painting say so; those
    // that paint it all stop the paint event in BeforeMessage.
    virtual bool PaintsOver() const { return false; }
    virtual void Paint(QPainter &painter, const QRect &rect);

    // Shared drawing.
    QColor FaceColour() const;
    QColor SkinColour(int skinColour) const;
    void FillFace(QPainter &painter, const QRect &rect) const;
    void FillParent(QPainter &painter, const QRect &rect) const;
    void DrawFocusRect(QPainter &painter, const QRect &textRect) const;
    // Composes the control off-screen with `draw` and copies it once.
    template <typename Draw> void PaintOffScreen(Draw draw)
    {
        QWidget *w = Window();
        const qreal ratio = w->devicePixelRatioF();
        QPixmap buffer(w->size() * ratio);
        buffer.setDevicePixelRatio(ratio);
        buffer.fill(Qt::transparent);
        {
            QPainter p(&buffer);
            p.setFont(w->font());
            draw(p, w->rect());
        }
        QPainter out(w);
        out.drawPixmap(0, 0, buffer);
    }
    void TrackHover(bool on);

private:
    void SaveAndTakeBackground();

    QPointer<QWidget> window_;
    QPalette savedPalette_;
    bool paletteWasSet_ = false;
    bool savedAutoFill_ = false;
    bool savedHover_ = false;
    bool hoverChanged_ = false;
};

}  // namespace qasp::skin
