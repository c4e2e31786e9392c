// TWinSkinPopMenu: the painter of one open popup menu (a drop-down of the
// menu bar, a context menu, the window menu). The skin manager creates one
// for each popup it decides to skin and frees it when the popup closes.
// The popup's border and background come from the skin's menu background,
// each item from the skin's menu item picture, with its icon or check
// mark, caption, shortcut and sub-menu arrow; doubled, leading and
// trailing separators are not shown.
#pragma once

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QWidget>

class QAction;
class QMenu;
class QPainter;

namespace qasp::skin {

class TSkinData;

class TWinSkinPopMenu : public QObject {
    Q_OBJECT
public:
    TWinSkinPopMenu(QWidget *menuWindow, TSkinData *skinData, int kind);
    ~TWinSkinPopMenu() override;

    QWidget *Window() const { return window_; }
    TSkinData *SkinData() const { return skinData_; }
    int Kind;                   // context menu, menu-bar drop-down or window menu
    bool MenuBarPopup = false;  // opened while the frame tracks its menu bar
    QImage Background;          // the skin's background at the popup's size

    void Attach();
    void Detach();
    // Whether the skin has what a popup needs: a menu background picture.
    bool CanPaint() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Paint(QPainter &painter);
    void PaintItem(QPainter &painter, QAction *action, const QRect &rect, bool selected, bool darkHighlight);

    QPointer<QWidget> window_;
    QPointer<TSkinData> skinData_;
    bool attached_ = false;
    bool savedCollapsible_ = true;
};

}  // namespace qasp::skin
