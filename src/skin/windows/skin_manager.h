// SkinManager: the one skin manager of the process. It watches every
// window of the program being shown, activated and closed through one
// application-wide event filter, gives each top-level window that
// qualifies a frame painter and each popup menu that qualifies a menu
// painter, and carries out the skin components' requests to switch
// skinning on, off, or to a new skin on its timer.
#pragma once

#include "skin/data/skin_manager_link.h"
#include "skin/windows/window_rule.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <memory>
#include <vector>

class QWidget;

namespace qasp::skin {

class SkinnedWindow;
class SkinnedPopupMenu;

class SkinManager : public QObject, public SkinManagerLink {
    Q_OBJECT
public:
    SkinManager();
    ~SkinManager() override;

    // The manager, or none before the first skin component has loaded.
    static SkinManager *instance();

    void addSkinData(SkinData *data) override;
    void removeSkinData(SkinData *data) override;
    void installHook() override;
    void setPendingSkinData(SkinData *data) override { pendingSkinData_ = data; }
    void requestAction(SkinAction action, int intervalMs) override;
    bool skinWindow(QWidget *window) override;
    void releaseSkinPieces() override;
    bool isActive() const override { return active_; }
    void setActive(bool active) override { active_ = active; }
    SkinManagerState state() const override { return state_; }
    void setState(SkinManagerState state) override { state_ = state; }

    // Whether a requested action still waits on the timer, and how long it waits.
    bool hasPendingAction() const { return timer_.isActive(); }
    int pendingActionDelay() const { return timer_.interval(); }

    // The frame painter of a window, the painter of an open popup menu.
    SkinnedWindow *skinnedWindow(const QWidget *window) const;
    SkinnedPopupMenu *skinnedPopup(const QWidget *menu) const;
    int skinnedPopupCount() const { return static_cast<int>(popups_.size()); }
    // The kind the next popup menu shown is skinned as, unless it is a window menu.
    int nextPopupKind() const { return menuKind_; }
    // The main skin component, the one whose filter decides for every window.
    SkinData *mainSkinData() const { return mainSkinData_; }
    // Why the last window that asked stayed plain (Passed when it was skinned).
    WindowRuleTest lastVerdict() const { return lastVerdict_; }

    // A drop-down of a skinned menu bar is about to show.
    void menuBarDropDownOpening();
    // A frame painter going away.
    void forgetWindow(SkinnedWindow *painter);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void skinScreenForm(QWidget *form);
    bool skinPopupMenu(QWidget *menu);
    void releasePopupMenu(QWidget *menu);
    void purgeWindows();
    void runPendingAction();
    // The program's own form behind a window; none for a system dialog box.
    QWidget *findFrameworkForm(QWidget *window) const;
    // The skin component that paints this window.
    SkinData *chooseSkinData(const QWidget *window) const;
    void deactivate(SkinData *onlyThis);
    // Between a new skin's loading and the change that follows, a window
    // would paint new pictures with the old frame's metrics: its updates are
    // off until every window has the new skin, then it is painted once.
    void freezeWindow(QWidget *window);
    void thawWindows();
    void changeSkin(SkinData *data, bool onlyFirst);
    void dropWindow(size_t index);

    QTimer timer_;
    bool hookInstalled_ = false;
    std::vector<QPointer<SkinnedWindow>> windows_;
    std::vector<std::unique_ptr<SkinnedPopupMenu>> popups_;
    std::vector<QPointer<SkinData>> skinData_;
    std::vector<QPointer<QWidget>> frozen_;
    bool forcing_ = false;
    int menuKind_ = kContextMenu;
    SkinAction pendingAction_ = SkinAction::Activate;
    QPointer<SkinData> pendingSkinData_;
    QPointer<SkinData> mainSkinData_;
    WindowRuleTest lastVerdict_ = WindowRuleTest::Passed;
    bool active_ = false;
    SkinManagerState state_ = SkinManagerState::NotStarted;
};

// Makes the skin components of the process create this manager.
void InstallSkinManager();

}  // namespace qasp::skin
