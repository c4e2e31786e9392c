// The skinned controls of one window. Every control is classified once:
// all of them when the window is set up, and a control that comes later
// into a part of the window already looked at when it is polished. The
// registry creates the object that paints each control that gets one,
// keeps the list of those objects (an object leaves it when its control
// goes), and lets them follow a skin change and give their controls back.
#pragma once

#include <QPointer>
#include <QWidget>

#include <vector>

namespace qasp::skin {

class SkinData;
class SkinnedControl;

class SkinnedControlRegistry {
public:
    // `window`'s controls; `inDialog` for a toolkit dialog box, whose
    // make-up the program does not know. `sender` is named to the
    // application's hook as the one asking.
    SkinnedControlRegistry(QWidget *window, bool inDialog, QObject *sender = nullptr);
    ~SkinnedControlRegistry();
    SkinnedControlRegistry(const SkinnedControlRegistry &) = delete;
    SkinnedControlRegistry &operator=(const SkinnedControlRegistry &) = delete;

    void setSkinData(SkinData *skinData) { skinData_ = skinData; }

    // Every control of the window.
    void classifyAll();
    // A control that came after: classified when it lies in a part already
    // looked at and was not classified before. Says whether it was now.
    bool classifyLate(QWidget *control);

    // The object painting a control, or none.
    SkinnedControl *find(const QWidget *control) const;
    int count() const { return static_cast<int>(controls_.size()); }

    // Adds unless present; says whether it was present.
    bool add(SkinnedControl *control);
    void remove(SkinnedControl *control);

    // Every object repaints from a new skin.
    void updateFromSkin();
    // Every object gives its control back and goes.
    void release();
    // The window is gone: the objects go with their controls, the list is let go.
    void forget();

private:
    void classifyChildren(QWidget *parent);
    void classify(QWidget *control);
    bool offerToApplication(QWidget *control, const QString &className);
    bool wasClassified(const QWidget *w) const;

    QPointer<QWidget> window_;
    bool inDialog_;
    QObject *sender_;
    QPointer<SkinData> skinData_;
    std::vector<QPointer<SkinnedControl>> controls_;
    std::vector<QPointer<QWidget>> containers_;  // whose controls were classified
    std::vector<QPointer<QWidget>> classified_;
};

}  // namespace qasp::skin
