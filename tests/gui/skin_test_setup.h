// What the skinned-window tests share: one skin component with the
// built-in skin, the skin manager's requests carried out at once, and the
// look-up of a window's frame painter.
#pragma once

#include "app/builtin_skin.h"
#include "gui_test_setup.h"
#include "skin/data/skin_data.h"
#include "skin/windows/skin_manager.h"
#include "skin/windows/skinned_window.h"

#include <QTest>

inline qasp::skin::SkinnedWindow *PainterOf(QWidget *w)
{
    return qasp::skin::SkinManager::instance()->skinnedWindow(w);
}

inline bool IsReady(QWidget *w)
{
    qasp::skin::SkinnedWindow *painter = PainterOf(w);
    return painter && painter->state() == qasp::skin::SkinnedWindow::State::Ready;
}

// The process's manager and a main skin component, owned by `owner`.
inline qasp::skin::SkinData *StartSkinning(QObject *owner)
{
    PrepareGuiTests();
    qasp::skin::InstallSkinManager();
    auto *data = new qasp::skin::SkinData(owner);
    data->SetSkinStream(qasp::app::BuiltinSkinStream());
    data->SetActive(true);
    data->Loaded();
    return data;
}

// Carries out `action` for `data` now instead of on the timer.
inline void RunSkinAction(qasp::skin::SkinData *data, qasp::skin::SkinAction action)
{
    qasp::skin::SkinManager *manager = qasp::skin::SkinManager::instance();
    manager->setPendingSkinData(data);
    manager->requestAction(action, 0);
    QTRY_VERIFY(!manager->hasPendingAction());
}
