// Which skinned-control class paints a control, decided from what the
// control is (its class and the classes it derives from), its no-skin mark
// and the skin component's gates. The program's own forms go through one table,
// the Skin3rd mapping of class names to kinds comes first; the dialog
// boxes of the toolkit, whose make-up the program does not know, go
// through a table of the controls such boxes hold. No widgets here.
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

namespace qasp::skin {

enum class SkinControlKind {
    None,          // left to paint itself
    Button,        // push button
    BitmapButton,  // push button with a picture
    ToolButton,    // tool button, in a tool bar or on its own
    CheckBox,
    RadioButton,
    ComboBox,
    LineEdit,
    SpinBox,
    ProgressBar,
    Slider,
    TabBar,
    TabPage,
    StatusBar,
    GroupBox,
    Panel,  // panels and tool bars: the background only
    Header,
    SizeGrip,
    ScrollArea,  // the scroll bars of a scrolling control
    ListView,    // scroll bars and header
    ScrollBar,   // a scroll bar on its own
    MenuBar,
};

// What classification knows of a control.
struct ControlFacts {
    QStringList Classes;  // its class first, then the classes it derives from
    bool NoSkin = false;  // marked to keep its plain look
    bool HasParent = true;
    bool AnswersQuery = false;  // skinned already, or asks to be left alone
    bool AlreadySkinned = false;
    bool HasPicture = false;    // a push button showing an icon
    bool InToolBar = false;     // a tool button that its tool bar paints
    bool InScrollArea = false;  // a scroll bar that belongs to a scrolling control
    bool HasBorder = false;     // an edit drawn with a frame
    bool IsTabPage = false;     // a page of a tab widget
};

struct ControlClass {
    SkinControlKind Kind = SkinControlKind::None;
    bool WithBackground = false;    // the object takes over the background colour
    bool ClassifyChildren = false;  // the control's own controls are classified too
    bool Matched = false;           // a line of the tables applied (ends the search)
};

// The program's own controls: the no-skin mark, the Skin3rd mapping
// (`skin3rdKind`, the kind the skin component's list names for the
// control's class, empty when none), then the class table, first match wins.
ControlClass ClassifyControl(const ControlFacts &facts, uint32_t skinControls, const QString &skin3rdKind,
                             bool skinHasTabs);

// The Skin3rd mapping alone; Matched is false without a kind.
ControlClass ClassifySkin3rd(const ControlFacts &facts, uint32_t skinControls, const QString &kind,
                             bool skinHasTabs);

// A control of a toolkit dialog box (a bare window).
ControlClass ClassifyChildWindow(const ControlFacts &facts);

// Whether a group's buttons inherit its mark: radio and check groups pass
// the no-skin mark on to their buttons.
bool PassesNoSkinToButtons(const QString &className);

}  // namespace qasp::skin
