// What the skinned-window tests share: one skin component with the
// built-in skin, the skin manager's requests carried out at once, and the
// look-up of a window's frame painter.
#pragma once

#include "app/builtin_skin.h"
#include "gui_test_setup.h"
#include "skin/data/skin_data.h"
#include "skin/windows/skin_manage.h"
#include "skin/windows/win_skin_form.h"

#include <QTest>

inline qasp::skin::TWinSkinForm *PainterOf(QWidget *w)
{
    return qasp::skin::TSkinManage::Get()->FindSkinForm(w);
}

inline bool IsReady(QWidget *w)
{
    qasp::skin::TWinSkinForm *painter = PainterOf(w);
    return painter && painter->State == qasp::skin::TWinSkinForm::kReady;
}

// The process's manager and a main skin component, owned by `owner`.
inline qasp::skin::TSkinData *StartSkinning(QObject *owner)
{
    PrepareGuiTests();
    qasp::skin::InstallSkinManager();
    auto *data = new qasp::skin::TSkinData(owner);
    data->SetSkinStream(qasp::app::BuiltinSkinStream());
    data->SetActive(true);
    data->Loaded();
    return data;
}

// Carries out `action` for `data` now instead of on the timer.
inline void RunSkinAction(qasp::skin::TSkinData *data, int action)
{
    qasp::skin::TSkinManage *manager = qasp::skin::TSkinManage::Get();
    manager->SetPendingSkinData(data);
    manager->RequestAction(action, 0);
    QTRY_VERIFY(!manager->Timer.isActive());
}
