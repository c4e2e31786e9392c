// What the skin component asks of the one skin manager of the process,
// which hooks the windows and carries out activation requests on its timer.
// The manager lives in the skinned-windows layer and registers a factory
// here; without one, a skin component only holds its model.
#pragma once

class QWidget;

namespace qasp::skin {

class TSkinData;

// Pending actions carried out by the manager's timer.
enum SkinAction { kActivate = 1, kDeactivate = 2, kSkinChanged = 3 };

class SkinManagerLink {
public:
    virtual ~SkinManagerLink() = default;
    virtual void AddSkinData(TSkinData *data) = 0;
    virtual void RemoveSkinData(TSkinData *data) = 0;
    virtual void InstallHook() = 0;
    virtual void SetPendingSkinData(TSkinData *data) = 0;
    virtual void RequestAction(int action, int intervalMs) = 0;
    // Gives the window a frame painter if it qualifies; says whether it did.
    virtual bool SkinWindow(QWidget *window) = 0;
    virtual void RefreshForms() = 0;
    virtual bool Active() const = 0;
    virtual void SetActive(bool active) = 0;
    virtual int RunState() const = 0;
    virtual void SetRunState(int state) = 0;

    // The one manager, or none before it is created.
    static SkinManagerLink *Instance();
    // Creates it when a factory has been installed.
    static SkinManagerLink *CreateIfMissing();
    using Factory = SkinManagerLink *(*)();
    static void InstallFactory(Factory factory);

protected:
    // A manager that is going away stops being the one.
    static void ClearInstance(SkinManagerLink *manager);
};

}  // namespace qasp::skin
