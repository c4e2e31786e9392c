#include "skin/windows/control_classification.h"

#include "skin/data/skin_data.h"

namespace qasp::skin {
namespace {

using K = SkinControlKind;

bool Has(uint32_t controls, SkinControlBit t)
{
    return (controls & (1u << t)) != 0;
}

bool Is(const ControlFacts &f, const char *className)
{
    return f.Classes.contains(QLatin1String(className));
}

bool IsExactly(const ControlFacts &f, const char *className)
{
    return !f.Classes.isEmpty() && f.Classes.front() == QLatin1String(className);
}

ControlClass Attach(K kind, bool background = false, bool children = false)
{
    return {kind, background, children, true};
}

ControlClass LeftAlone()
{
    return {K::None, false, false, true};
}

ControlClass NoMatch()
{
    return {};
}

}  // namespace

ControlClass ClassifySkin3rd(const ControlFacts &f, uint32_t c, const QString &kind, bool skinHasTabs)
{
    if (kind.isEmpty())
        return NoMatch();
    const auto gated = [](bool gate, ControlClass result) { return gate ? result : LeftAlone(); };
    if (kind == QLatin1String("nil"))
        return LeftAlone();
    if (kind == QLatin1String("combobox"))
        return gated(Has(c, xcCombo), Attach(K::ComboBox));
    if (kind == QLatin1String("edit"))
        return gated(Has(c, xcEdit) && f.HasBorder, Attach(K::LineEdit));
    if (kind == QLatin1String("radiobutton"))
        return gated(Has(c, xcRadioButton), Attach(K::RadioButton));
    if (kind == QLatin1String("panel"))
        return gated(Has(c, xcPanel), Attach(K::Panel, true));
    if (kind == QLatin1String("trackbar"))  // gated by the button bit, as it always was
        return gated(Has(c, xcButton), Attach(K::Slider));
    if (kind == QLatin1String("button"))
        return gated(Has(c, xcButton), Attach(K::Button));
    if (kind == QLatin1String("bitbtn"))
        return gated(Has(c, xcButton), Attach(K::BitmapButton));
    if (kind == QLatin1String("speedbutton"))
        return gated(Has(c, xcSpeedButton), Attach(K::ToolButton));
    if (kind == QLatin1String("tab"))
        return gated(Has(c, xcTab) && skinHasTabs, Attach(K::TabBar));
    if (kind == QLatin1String("progress"))
        return gated(Has(c, xcProgress), Attach(K::ProgressBar));
    if (kind == QLatin1String("scrollbar"))
        return gated(Has(c, xcScrollbar), Attach(K::ScrollArea, false, true));
    if (kind == QLatin1String("embedscrollbar") || kind == QLatin1String("container"))
        return gated(kind == QLatin1String("container") || Has(c, xcScrollbar), Attach(K::None, false, true));
    if (kind == QLatin1String("groupbox"))
        return gated(Has(c, xcGroupBox), Attach(K::GroupBox, true, true));
    if (kind == QLatin1String("radiogroup"))
        return gated(Has(c, xcGroupBox), Attach(K::GroupBox, true, true));
    if (kind == QLatin1String("checkgroup"))
        return gated(Has(c, xcPanel), Attach(K::GroupBox, true, true));
    if (kind == QLatin1String("checkbox"))
        return gated(Has(c, xcCheckBox), Attach(K::CheckBox));
    return LeftAlone();  // a kind this engine does not know
}

ControlClass ClassifyControl(const ControlFacts &f, uint32_t c, const QString &skin3rdKind, bool skinHasTabs)
{
    if (f.NoSkin || !f.HasParent || f.AnswersQuery || f.AlreadySkinned)
        return LeftAlone();
    if (const ControlClass mapped = ClassifySkin3rd(f, c, skin3rdKind, skinHasTabs); mapped.Matched)
        return mapped;
    const bool tabs = Has(c, xcTab) && skinHasTabs;
    if (Is(f, "QTabWidget"))
        return tabs ? Attach(K::TabBar, false, true) : Attach(K::None, false, true);
    if (Is(f, "QMenuBar"))
        return Has(c, xcMainMenu) ? Attach(K::MenuBar) : LeftAlone();
    if (Is(f, "QTabBar"))
        return tabs ? Attach(K::TabBar) : LeftAlone();
    if (f.IsTabPage)
        return tabs ? Attach(K::TabPage, true, true) : Attach(K::None, false, true);
    if (Is(f, "QHeaderView"))
        return Has(c, xcPanel) ? Attach(K::Header) : LeftAlone();
    if (Is(f, "QCheckBox"))
        return Has(c, xcCheckBox) ? Attach(K::CheckBox) : LeftAlone();
    if (Is(f, "QSlider"))
        return Has(c, xcTrackBar) ? Attach(K::Slider) : LeftAlone();
    if (Is(f, "QAbstractSpinBox"))
        return Has(c, xcSpin) ? Attach(K::SpinBox) : LeftAlone();
    if (Is(f, "QGroupBox"))
        return Has(c, xcPanel) ? Attach(K::GroupBox, true, true) : Attach(K::None, false, true);
    if (Is(f, "QRadioButton"))
        return Has(c, xcRadioButton) ? Attach(K::RadioButton) : LeftAlone();
    if (Is(f, "QToolBar"))
        return Has(c, xcToolbar) ? Attach(K::Panel, true, true) : LeftAlone();
    if (Is(f, "QStatusBar"))
        return Has(c, xcStatusBar) ? Attach(K::StatusBar, true, true) : LeftAlone();
    if (Is(f, "QProgressBar"))
        return Has(c, xcProgress) ? Attach(K::ProgressBar) : LeftAlone();
    if (Is(f, "QScrollBar"))
        return Has(c, xcScrollbar) && !f.InScrollArea ? Attach(K::ScrollBar) : LeftAlone();
    if (Is(f, "QComboBox"))
        return Has(c, xcCombo) ? Attach(K::ComboBox) : LeftAlone();
    // A push button with a picture is a bitmap button; without its gate it
    // stays plain and no later line is tried.
    if (Is(f, "QPushButton") && f.HasPicture)
        return Has(c, xcBitBtn) ? Attach(K::BitmapButton) : LeftAlone();
    // A tool bar's buttons are drawn by the tool bar's button painter.
    if (Is(f, "QToolButton"))
        return Has(c, f.InToolBar ? xcToolbar : xcSpeedButton) ? Attach(K::ToolButton) : LeftAlone();
    if (IsExactly(f, "QFrame"))
        return Has(c, xcPanel) ? Attach(K::Panel, true, true) : Attach(K::None, false, true);
    if (Is(f, "QListView") && !Is(f, "QTreeView"))
        return Has(c, xcScrollbar) ? Attach(K::ListView) : LeftAlone();
    if (Is(f, "QPlainTextEdit") || Is(f, "QTextEdit"))
        return Has(c, xcScrollbar) ? Attach(K::ScrollArea) : LeftAlone();
    if (Is(f, "QAbstractScrollArea"))
        return Has(c, xcScrollbar) ? Attach(K::ScrollArea) : LeftAlone();
    if (Is(f, "QPushButton"))
        return Has(c, xcButton) ? Attach(K::Button) : LeftAlone();
    if (Is(f, "QLineEdit"))
        return Has(c, xcEdit) ? Attach(K::LineEdit) : LeftAlone();
    if (Is(f, "QSizeGrip"))
        return Attach(K::SizeGrip);
    // Any other control: a container's own controls are classified.
    return Attach(K::None, false, true);
}

ControlClass ClassifyChildWindow(const ControlFacts &f)
{
    if (f.AlreadySkinned || f.AnswersQuery)
        return LeftAlone();
    if (Is(f, "QCheckBox"))
        return Attach(K::CheckBox);
    if (Is(f, "QRadioButton"))
        return Attach(K::RadioButton);
    if (Is(f, "QPushButton"))
        return Attach(K::Button);
    if (Is(f, "QComboBox"))
        return Attach(K::ComboBox);
    if (Is(f, "QSizeGrip"))
        return Attach(K::SizeGrip);
    if (Is(f, "QTabBar"))
        return Attach(K::TabBar);
    if (Is(f, "QProgressBar"))
        return Attach(K::ProgressBar);
    if (Is(f, "QLineEdit"))
        return Attach(K::LineEdit);
    // Tree and list views, tool bars and tool buttons of a dialog box keep
    // their own look; panels and button boxes are looked into.
    if (Is(f, "QAbstractScrollArea") || Is(f, "QToolBar") || Is(f, "QToolButton") || Is(f, "QLabel"))
        return LeftAlone();
    return Attach(K::None, false, true);
}

bool PassesNoSkinToButtons(const QString &className)
{
    const QString lower = className.toLower();
    return lower.contains(QLatin1String("radiogroup")) || lower.contains(QLatin1String("checkgroup"))
           || lower == QLatin1String("qbuttongroup") || lower == QLatin1String("qgroupbox");
}

}  // namespace qasp::skin
