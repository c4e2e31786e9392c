// TWinSkinPopMenu: the painter of one open popup menu window. The skin
// manager creates one for each popup it decides to skin and frees it when
// the popup closes.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace qasp::skin {

class TSkinData;

class TWinSkinPopMenu : public QObject {
    Q_OBJECT
public:
    TWinSkinPopMenu(QWidget *menuWindow, TSkinData *skinData, int kind);
    ~TWinSkinPopMenu() override;

    QWidget *Window() const { return window_; }
    TSkinData *SkinData() const { return skinData_; }
    int Kind;                   // context menu, menu-bar drop-down or system menu
    bool MenuBarPopup = false;  // opened while the frame tracks its menu bar

    void Attach();
    void Detach();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QWidget> window_;
    QPointer<TSkinData> skinData_;
    bool attached_ = false;
};

}  // namespace qasp::skin
