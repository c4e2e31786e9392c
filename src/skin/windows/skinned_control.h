// SkinnedControl: the base of the objects that paint one control of a
// skinned window from the skin. It watches the control's events, lets the
// control do its own work, and replaces or completes its painting; what it
// changes on the control it gives back when detached. kSwitchPaintingEvent
// switches its painting off and on.
#pragma once

#include <QEvent>
#include <QObject>
#include <QPalette>
#include <QPointer>
#include <QWidget>

class QPainter;

namespace qasp::skin {

class SkinData;
struct SkinModel;
class SkinnedControlRegistry;

class SkinnedControl : public QObject {
    Q_OBJECT
public:
    explicit SkinnedControl(QWidget *control);
    ~SkinnedControl() override;

    // The control painted.
    QWidget *control() const { return control_; }
    bool isAttached() const { return state_ == AttachState::Attached; }

    // For the program's own control, and for a control of a toolkit dialog
    // box, whose make-up the program does not know.
    void attach(SkinnedControlRegistry *registry, SkinData *skinData, bool withBackground);
    void attachInDialog(SkinnedControlRegistry *registry, SkinData *skinData);
    virtual void detach();
    virtual void updateFromSkin();
    // The registry is going before the object.
    void leaveRegistry() { registry_ = nullptr; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

    // Called once attached, and before detaching: what the member changes
    // on its control, and how it gives it back.
    virtual void attached() {}
    virtual void detaching() {}
    // Around the background palette: called before the control's palette is
    // saved and taken, and after it has been given back. A style sheet must
    // go before and come back after, or Qt restores an older palette.
    virtual void takingBackground() {}
    virtual void backgroundGivenBack() {}
    // True stops the event: the control never sees it.
    virtual bool beforeEvent(QEvent *event);
    virtual void afterEvent(QEvent *event);
    // A member that draws the whole control says so while the skin has the
    // pictures it needs: the base composes it off-screen with paint() and
    // the control does not paint itself. A member that completes the
    // control's own painting says paintsOver() instead.
    virtual bool paintsWhole() const { return false; }
    virtual bool paintsOver() const { return false; }
    virtual void paint(QPainter &painter, const QRect &rect);

    SkinData *skinData() const;
    const SkinModel &model() const;
    // The registry of the window's skinned controls.
    SkinnedControlRegistry *registry() const { return registry_; }
    // A control of the program's own form, not of a toolkit dialog box.
    bool isFormControl() const { return formControl_; }
    bool withBackground() const { return withBackground_; }
    void repaint();

    // Shared drawing.
    QColor faceColour() const;
    // The control's palette with the face colour as its background.
    QPalette paletteWithFace() const;
    void fillFace(QPainter &painter, const QRect &rect) const;
    void fillParent(QPainter &painter, const QRect &rect) const;
    void drawFocusRect(QPainter &painter, const QRect &textRect) const;
    void trackHover(bool on);

private:
    enum class AttachState { New, Attached, Detached, Dead };

    void attachTo(SkinnedControlRegistry *registry, SkinData *skinData);
    void saveAndTakeBackground();
    // Composes the control off-screen with paint() and copies it once.
    void paintOffScreen();

    QPointer<QWidget> control_;
    QPointer<SkinData> skinData_;
    SkinnedControlRegistry *registry_ = nullptr;
    AttachState state_ = AttachState::New;
    bool formControl_ = false;
    bool painting_ = true;
    bool withBackground_ = false;
    QPalette savedPalette_;
    bool paletteWasSet_ = false;
    bool savedAutoFill_ = false;
    bool savedHover_ = false;
    bool hoverChanged_ = false;
};

}  // namespace qasp::skin
