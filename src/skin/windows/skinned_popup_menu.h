// SkinnedPopupMenu: the painter of one open popup menu (a drop-down of the
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
class QFontMetrics;
class QMenu;
class QPainter;

namespace qasp::skin {

class SkinData;

class SkinnedPopupMenu : public QObject {
    Q_OBJECT
public:
    SkinnedPopupMenu(QWidget *menu, SkinData *skinData, int kind);
    ~SkinnedPopupMenu() override;

    QWidget *menu() const { return menu_; }
    SkinData *skinData() const { return skinData_; }
    // A context menu, a menu-bar drop-down or the window menu.
    int kind() const { return kind_; }

    void attach();
    void detach();
    // Whether the skin has what a popup needs: a menu background picture.
    bool canPaint() const;
    // The width an item needs as this painter lays it out: check column,
    // caption, shortcut and sub-menu arrow.
    static int itemWidth(const QFontMetrics &metrics, const QAction *action);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Widens the popup when the style measured items narrower than they are painted.
    void fitItems();
    void paint(QPainter &painter);
    void paintItem(QPainter &painter, QAction *action, const QRect &rect, bool selected, bool darkHighlight);

    int kind_;
    QImage background_;  // the skin's background at the popup's size
    QPointer<QWidget> menu_;
    QPointer<SkinData> skinData_;
    bool attached_ = false;
    bool savedCollapsible_ = true;
    int savedMinimumWidth_ = 0;
};

}  // namespace qasp::skin
