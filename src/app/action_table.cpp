#include "app/action_table.h"

#include <array>
#include <stdexcept>

namespace qasp::app {
namespace {

using enum ActionId;

constexpr ActionDef kActions[] = {
    {NewDOC, "Action_NewDOC", "文件", "新建工程", "", 15, true, false, false, "Ctrl+N"},
    {OPEN, "Action_OPEN", "文件", "打开", "打开已有工程", 2, true, false, false, "Ctrl+O"},
    {Save, "Action_Save", "文件", "保存", "保存现有工程", 8, false, false, false, "Ctrl+S"},
    {New, "Action_New", "编辑", "新建", "添加新函数", 14, true, false, false},
    {Del, "Action_Del", "编辑", "删除", "删除对象", 13, false, false, false},
    {Plus, "Action_Plus", "编辑", "插入", "从模板库中调用模块", 9, true, false, false},
    {Search, "Action_Search", "编辑", "查找", "查找或替换", 4, true, false, false, "Ctrl+F"},
    {Replace, "Action_Replace", "编辑", "替换", "查找并替换", -1, true, false, false, "Ctrl+H"},
    {GetColor, "Action_GetColor", "编辑", "取色", "屏幕取色工具", 10, true, true, false},
    {VarNeed, "Action_VarNeed", "编辑", "要求变量声明", "要求变量声名", -1, true, true, true},
    {SaveAS, "Action_SaveAS", "文件", "别存为...", "", 7, false, false, false},
    {SaveSelect, "Action_SaveSelect", "文件", "仅保存指定文档", "", 3, false, false, false},
    {SaveSingle, "Action_SaveSingle", "文件", "另存", "另存工程为一个单一文档", 11, false, false, false},
    {Exit, "Action_Exit", "文件", "退出", "", 16, true, false, false},
    {Help, "Action_Help", "帮助", "帮助主题", "", 17, true, false, false},
    {About, "Action_About", "帮助", "关于", "", 16, true, false, false},
    {Cut, "Action_Cut", "编辑", "剪切", "", 5, true, false, false},
    {Copy, "Action_Copy", "编辑", "复制", "复制编辑器中选中的文字", -1, true, false, false, "Ctrl+C"},
    {Paste, "Action_Paste", "编辑", "粘贴", "", 6, false, false, false},
    {AddAsp, "Action_AddAsp", "文件", "加载", "加载一个已存在的ASP文档", 19, true, false, false},
    {Undo, "Action_Undo", "编辑", "撤销", "撤销上一次编辑", -1, false, false, false, "Ctrl+Z"},
    {Redo, "Action_Redo", "编辑", "重做", "重做撤销的编辑", -1, false, false, false, "Ctrl+Y; Ctrl+Shift+Z"},
    {SiteRoot, "Action_SiteRoot", "文件", "站点根目录...", "选择站点的根目录（virtual 包含路径由此开始）", -1,
     false, false, false},
    {ReopenGbk, "Action_ReopenGbk", "文件", "以 GBK 编码重新打开", "按 GBK 编码重新读入所选文档", -1, false,
     false, false},
    {ReopenUtf8, "Action_ReopenUtf8", "文件", "以 UTF-8 编码重新打开", "按 UTF-8 编码重新读入所选文档", -1,
     false, false, false},
};

constexpr BarItem kToolBar[] = {
    {OPEN, "打开(&O)", 2}, {Save, "保存(&S)", 8},   {AddAsp, nullptr, 19},
    {New, nullptr, 14},    {Del, "删除(&D)", 13},   {Cut, nullptr, 5},
    {Paste, nullptr, 6},   {Search, "查找(&F)", 4}, {GetColor, "取色(&V)", 10},
};

constexpr BarItem kSep = {Exit, nullptr, kSeparator};

constexpr BarItem kFileMenu[] = {
    {New, "新建(&Z)", 15},
    {NewDOC, "新建工程(&N)...", 15},
    {OPEN, "打开(&Y)", 2},
    {AddAsp, nullptr, 19},
    kSep,
    {Save, "保存(&X)", 8},
    {SaveAS, "别存为(&W)...", 7},
    {SaveSelect, "仅保存指定文档(&V)", 3},
    {SaveSingle, "另存(&U)", 11},
    kSep,
    {SiteRoot, "站点根目录(&R)...", kKeepImage},
    {ReopenGbk, "以 GBK 编码重新打开(&G)", kKeepImage},
    {ReopenUtf8, "以 UTF-8 编码重新打开(&8)", kKeepImage},
    kSep,
    {Exit, "退出(&T)", 16},
};

constexpr BarItem kEditMenu[] = {
    {Undo, nullptr, kKeepImage},
    {Redo, nullptr, kKeepImage},
    kSep,
    {New, "新建(&Z)", 14},
    {Del, "删除(&Y)", 13},
    kSep,
    {Cut, "剪切(&T)", 5},
    {Copy, "复制(&C)", kKeepImage},
    {Paste, "粘贴(&S)", 6},
    kSep,
    {Plus, "插入(&X)", 9},
    {Search, "查找(&W)", 4},
    {Replace, "替换(&H)", kKeepImage},
    {GetColor, "取色(&V)", 10},
    kSep,
    {VarNeed, "要求变量声明(&U)", -1},
};

constexpr BarItem kHelpMenu[] = {
    {Help, "帮助主题(&Z)", 18},
    {About, "关于(&Y)", 17},
};

constexpr MenuDef kMenus[] = {
    {"文件(&Z)", kFileMenu},
    {"编辑(&Y)", kEditMenu},
    {"帮助(&X)", kHelpMenu},
};

}  // namespace

std::span<const ActionDef> ActionDefinitions()
{
    return kActions;
}

std::span<const BarItem> ToolBarLayout()
{
    return kToolBar;
}
std::span<const MenuDef> MenuBarLayout()
{
    return kMenus;
}

}  // namespace qasp::app
