// The skin manager's decisions, free of widgets: which windows get a frame
// painter (the window rule), which skin component paints a window, and
// which popup menus are skinned.
#pragma once

#include "skin/data/skin_data.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

namespace qasp::skin {

// What the window rule knows of a window, in the order it asks.
struct WindowRuleFacts {
    bool Active = false;            // skinning is switched on
    bool AnswersQuery = false;      // the window answered the skin query with 1
    bool HasPainter = false;        // a frame painter exists for it already
    bool Forcing = false;           // every screen form is being skinned in one sweep
    bool IsMdiClientChild = false;  // a plain child of an MDI client area
    bool BelongsHere = false;       // a form of the program, or a system dialog box
    bool HasArea = false;           // non-zero width times height
    bool IsMdiChild = false;
    bool HasFrameworkForm = false;
    bool MarkedNoSkin = false;  // the form is marked to keep its plain look
    QString ClassName;
    bool ClassAccepted = true;  // the class filter's verdict
    bool SkinUsable = false;    // the chosen skin component exists and has a skin
};

// The tests in order; the first that fails names why a window stays plain.
enum class WindowRuleTest {
    Passed,
    Active,
    Query,
    AlreadySkinned,
    MdiClientChild,
    BelongsHere,
    Area,
    NoSkinMark,
    Application,
    ClassFilter,
    SkinUsable,
};
WindowRuleTest FirstFailingTest(const WindowRuleFacts &facts);

// The class filter: "preview" windows only with the preview option, then
// the main skin component's form filter; every class without one.
bool ClassAccepted(const QString &className, const SkinData *mainSkinData);

// System dialog boxes of the toolkit (message, input and file dialogs), the
// windows the program did not build itself.
bool IsSystemDialogClass(const QString &className);

// Choosing the skin component for a window among the loaded ones.
struct SkinChoiceEntry {
    SkinFormType Type = sfMainform;
    bool OwnerIsWindow = false;
};
// Index into the entries, or -1 when the list is empty.
int ChooseSkinIndex(const std::vector<SkinChoiceEntry> &entries, const QString &className);

// Kinds of popup menu: a context menu, a drop-down of the menu bar, the
// system menu.
enum MenuKind { kContextMenu = 0, kMenuBarDropDown = 1, kSystemMenuKind = 2 };
bool PopupKindAllowed(int menuKind, uint32_t skinControls);

}  // namespace qasp::skin
