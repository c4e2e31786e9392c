// TSkinManage: the one skin manager of the process. It watches every
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

class TWinSkinForm;
class TWinSkinPopMenu;

class TSkinManage : public QObject, public SkinManagerLink {
    Q_OBJECT
public:
    enum PendingActionKind { kPurgeDeadForms = 6 };
    enum RunStateKind { kNotStarted = 0, kRunning = 1, kDestroying = 4 };

    TSkinManage();
    ~TSkinManage() override;

    // The manager, or none before the first skin component has loaded.
    static TSkinManage *Get();

    QTimer Timer;
    bool HookInstalled = false;
    std::vector<QPointer<TWinSkinForm>> FormList;
    std::vector<std::unique_ptr<TWinSkinPopMenu>> PopupList;
    std::vector<QPointer<TSkinData>> SkinDataList;
    bool Forcing = false;
    int MenuKind = kContextMenu;
    bool MenuBarTracking = false;
    int PendingAction = 0;
    QPointer<TSkinData> PendingSkinData;
    QPointer<TSkinData> MainSkinData;
    quintptr ModuleTag = 0;
    // Why the last window that asked stayed plain (Passed when it was skinned).
    WindowRuleTest LastVerdict = WindowRuleTest::Passed;

    void AddSkinData(TSkinData *data) override;
    void RemoveSkinData(TSkinData *data) override;
    void InstallHook() override;
    void SetPendingSkinData(TSkinData *data) override { PendingSkinData = data; }
    void RequestAction(int action, int intervalMs) override;
    bool SkinWindow(QWidget *window) override;
    void RefreshForms() override;
    bool Active() const override { return active_; }
    void SetActive(bool active) override { active_ = active; }
    int RunState() const override { return runState_; }
    void SetRunState(int state) override { runState_ = state; }

    void SkinScreenForm(QWidget *form);
    bool SkinPopupMenu(QWidget *window);
    void ReleasePopupMenu(QWidget *window);
    TWinSkinForm *FindSkinForm(const QWidget *window) const;
    TWinSkinPopMenu *FindPopup(const QWidget *window) const;
    void ForgetWindow(TWinSkinForm *painter);
    void PurgeForms();
    void FreeDeadForms();
    void RunPendingAction();
    // The program's own form behind a window; none for a system dialog box.
    QWidget *FindFrameworkForm(QWidget *window) const;
    // The skin component that paints this window.
    TSkinData *ChooseSkinData(const QWidget *window) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Deactivate(TSkinData *onlyThis);
    void ChangeSkin(TSkinData *data, bool onlyFirst);
    void DropForm(size_t index);

    bool active_ = false;
    int runState_ = kNotStarted;
};

// Makes the skin components of the process create this manager.
void InstallSkinManager();

}  // namespace qasp::skin
