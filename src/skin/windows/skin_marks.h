// Marks the program puts on its own widgets for the skin engine, each a
// dynamic property of its own:
//
//   qasp.skin.noSkin       the window, control or menu keeps its plain look;
//                          on a radio or check group, so do its buttons
//   qasp.skin.transparent  a push button, check box or radio button is
//                          drawn on its parent's background
//   qasp.skin.windowMenu   the menu is a skinned window's window menu
//
// The Tag property is the program's own: the skin does not read it.
#pragma once

class QObject;

namespace qasp::skin {

inline constexpr char kNoSkinProperty[] = "qasp.skin.noSkin";
inline constexpr char kTransparentProperty[] = "qasp.skin.transparent";
inline constexpr char kWindowMenuProperty[] = "qasp.skin.windowMenu";

void MarkNoSkin(QObject *object, bool on = true);
bool IsMarkedNoSkin(const QObject *object);

void MarkTransparent(QObject *object, bool on = true);
bool IsMarkedTransparent(const QObject *object);

void MarkWindowMenu(QObject *menu);
bool IsWindowMenu(const QObject *menu);

}  // namespace qasp::skin
