// TSkinControl: the base of the objects that paint one control of a
// skinned window from the skin. It watches the control's events, lets the
// control do its own work, and replaces or completes its painting; what it
// changes on the control it gives back when detached. 0x3506 switches its
// painting off and on.
#pragma once

#include <QEvent>
#include <QObject>
#include <QPalette>
#include <QPointer>
#include <QWidget>

class QPainter;

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
    // A member that draws the whole control says so while the skin has the
    // pictures it needs: the base composes it off-screen with Paint and the
    // control does not paint itself. A member that completes the control's
    // own painting says PaintsOver instead.
    virtual bool PaintsWhole() const { return false; }
    virtual bool PaintsOver() const { return false; }
    virtual void Paint(QPainter &painter, const QRect &rect);

    // Shared drawing.
    QColor FaceColour() const;
    void FillFace(QPainter &painter, const QRect &rect) const;
    void FillParent(QPainter &painter, const QRect &rect) const;
    void DrawFocusRect(QPainter &painter, const QRect &textRect) const;
    void TrackHover(bool on);

private:
    void SaveAndTakeBackground();
    // Composes the control off-screen with Paint and copies it once.
    void PaintOffScreen();

    QPointer<QWidget> window_;
    QPalette savedPalette_;
    bool paletteWasSet_ = false;
    bool savedAutoFill_ = false;
    bool savedHover_ = false;
    bool hoverChanged_ = false;
};

}  // namespace qasp::skin
