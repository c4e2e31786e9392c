// The buttons a tab bar puts on itself: the close mark of each tab and the
// two scroll buttons shown when the tabs do not fit. They are widgets of
// their own that the bar's painter does not reach; this paints them from
// the skin while the bar is skinned and leaves them to the style after.
#pragma once

#include <QObject>
#include <QPointer>

#include <vector>

class QAbstractButton;
class QPainter;
class QTabBar;

namespace qasp::skin {

class SkinData;

class SkinnedTabButtons : public QObject {
    Q_OBJECT
public:
    SkinnedTabButtons(QTabBar *bar, SkinData *skinData, QObject *parent);
    ~SkinnedTabButtons() override;

    // Takes the bar's buttons not yet painted here (a tab added brings a new close mark).
    void watchButtons();

    static bool isScrollButton(const QAbstractButton *button);
    static bool isCloseButton(const QAbstractButton *button);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Gives the buttons back their own painting.
    void release();
    void paintCloseMark(QPainter &painter, QAbstractButton *button) const;
    void paintScrollButton(QPainter &painter, QAbstractButton *button) const;

    QPointer<QTabBar> bar_;
    QPointer<SkinData> skinData_;
    std::vector<QPointer<QAbstractButton>> buttons_;
};

}  // namespace qasp::skin
