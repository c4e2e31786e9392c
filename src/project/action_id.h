#pragma once

namespace qasp {

// The commands of the main window, one per menu and tool bar action.
enum class ActionId {
    NewDOC,
    OPEN,
    Save,
    New,
    Del,
    Plus,
    Search,
    Replace,
    GetColor,
    VarNeed,
    SaveAS,
    SaveSelect,
    SaveSingle,
    Exit,
    Help,
    About,
    Cut,
    Paste,
    AddAsp,
    Undo,
    Redo,
    SiteRoot,
    ReopenGbk,
    ReopenUtf8,
    Copy,
};

}  // namespace qasp
