// What the skin component asks of the one skin manager of the process,
// which hooks the windows and carries out activation requests on its timer.
// The manager lives in the skinned-windows layer and registers a factory
// here; without one, a skin component only holds its model.
#pragma once

class QWidget;

namespace qasp::skin {

class SkinData;

// Pending actions carried out by the manager's timer.
enum class SkinAction { Activate = 1, Deactivate = 2, SkinChanged = 3 };

// Whether the manager has seen a window come up yet, and whether it is going.
enum class SkinManagerState { NotStarted, Running, Destroying };

class SkinManagerLink {
public:
    virtual ~SkinManagerLink() = default;
    virtual void addSkinData(SkinData *data) = 0;
    virtual void removeSkinData(SkinData *data) = 0;
    virtual void installHook() = 0;
    virtual void setPendingSkinData(SkinData *data) = 0;
    virtual void requestAction(SkinAction action, int intervalMs) = 0;
    // Gives the window a frame painter if it qualifies; says whether it did.
    virtual bool skinWindow(QWidget *window) = 0;
    // The pending skin component's model is about to change: the windows
    // it paints let go of what points into it.
    virtual void releaseSkinPieces() = 0;
    virtual bool isActive() const = 0;
    virtual void setActive(bool active) = 0;
    virtual SkinManagerState state() const = 0;
    virtual void setState(SkinManagerState state) = 0;

    // The one manager, or none before it is created.
    static SkinManagerLink *instance();
    // Creates it when a factory has been installed.
    static SkinManagerLink *createIfMissing();
    using Factory = SkinManagerLink *(*)();
    static void installFactory(Factory factory);

protected:
    // A manager that is going away stops being the one.
    static void clearInstance(SkinManagerLink *manager);
};

}  // namespace qasp::skin
