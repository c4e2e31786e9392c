// The skinned controls' decisions without widgets: which class paints a
// control (the class table, the Skin3rd kinds and their gates, the no-skin mark),
// which state image a button, check box, tool button, tab or combo box
// shows, and where a scroll bar's arrows, track and thumb lie.
#include "skin/data/skin_data.h"
#include "skin/windows/control_classification.h"
#include "skin/windows/control_states.h"
#include "skin/windows/skinned_edit.h"
#include "skin/windows/skinned_ranges.h"

#include <gtest/gtest.h>

using namespace qasp::skin;
using K = SkinControlKind;

namespace {

constexpr uint32_t kAll = 0x3FFFFF;

uint32_t Without(SkinControlBit t, uint32_t controls = kAll)
{
    return controls & ~(1u << t);
}

ControlFacts Facts(QStringList classes)
{
    ControlFacts f;
    f.Classes = std::move(classes);
    return f;
}

ControlClass Classify(const ControlFacts &f, uint32_t controls = kAll, const QString &skin3rd = {})
{
    return ClassifyControl(f, controls, skin3rd, true);
}

}  // namespace

TEST(ControlClassification, TheProgramsControlsFindTheirPainters)
{
    struct Row {
        QStringList classes;
        K kind;
    } rows[] = {
        {{"QPushButton", "QAbstractButton", "QWidget"}, K::Button},
        {{"QCheckBox", "QAbstractButton"}, K::CheckBox},
        {{"QRadioButton", "QAbstractButton"}, K::RadioButton},
        {{"QLineEdit", "QWidget"}, K::LineEdit},
        {{"QComboBox", "QWidget"}, K::ComboBox},
        {{"QTreeView", "QAbstractItemView", "QAbstractScrollArea", "QFrame"}, K::ScrollArea},
        {{"QListWidget", "QListView", "QAbstractItemView", "QAbstractScrollArea"}, K::ListView},
        {{"QPlainTextEdit", "QAbstractScrollArea", "QFrame"}, K::ScrollArea},
        {{"QStatusBar", "QWidget"}, K::StatusBar},
        {{"QMenuBar", "QWidget"}, K::MenuBar},
        {{"QHeaderView", "QAbstractItemView"}, K::Header},
        {{"QProgressBar", "QWidget"}, K::ProgressBar},
        {{"QSlider", "QAbstractSlider"}, K::Slider},
        {{"QSpinBox", "QAbstractSpinBox"}, K::SpinBox},
        {{"QTabBar", "QWidget"}, K::TabBar},
        {{"QSizeGrip", "QWidget"}, K::SizeGrip},
        {{"QFrame", "QWidget"}, K::Panel},
        {{"QToolBar", "QWidget"}, K::Panel},
        {{"QScrollBar", "QAbstractSlider"}, K::ScrollBar},
    };
    for (const Row &row : rows)
        EXPECT_EQ(Classify(Facts(row.classes)).Kind, row.kind) << row.classes.front().toStdString();

    // Containers are looked into; labels stay as they are.
    const ControlClass plain = Classify(Facts({"QWidget"}));
    EXPECT_EQ(plain.Kind, K::None);
    EXPECT_TRUE(plain.ClassifyChildren);
    EXPECT_TRUE(Classify(Facts({"QToolBar", "QWidget"})).WithBackground);
    EXPECT_TRUE(Classify(Facts({"QToolBar", "QWidget"})).ClassifyChildren);
}

TEST(ControlClassification, ContextDecidesForButtonsAndBars)
{
    ControlFacts tool = Facts({"QToolButton", "QAbstractButton"});
    tool.InToolBar = true;  // painted as the tool bar's button, gated by the tool bar bit
    EXPECT_EQ(Classify(tool).Kind, K::ToolButton);
    EXPECT_EQ(Classify(tool, Without(xcToolbar)).Kind, K::None);
    tool.InToolBar = false;
    EXPECT_EQ(Classify(tool, Without(xcToolbar)).Kind, K::ToolButton);

    ControlFacts bar = Facts({"QScrollBar", "QAbstractSlider"});
    bar.InScrollArea = true;  // its scrolling control paints it
    EXPECT_EQ(Classify(bar).Kind, K::None);

    // A push button with a picture is a bitmap button; without that gate it
    // stays plain, not a push button.
    ControlFacts pictured = Facts({"QPushButton", "QAbstractButton"});
    pictured.HasPicture = true;
    EXPECT_EQ(Classify(pictured).Kind, K::BitmapButton);
    const ControlClass gated = Classify(pictured, Without(xcBitBtn));
    EXPECT_EQ(gated.Kind, K::None);
    EXPECT_TRUE(gated.Matched);

    ControlFacts page = Facts({"QWidget"});
    page.IsTabPage = true;
    EXPECT_EQ(Classify(page).Kind, K::TabPage);
    EXPECT_EQ(Classify(Facts({"QTabBar"}), Without(xcTab)).Kind, K::None);
    EXPECT_EQ(ClassifyControl(Facts({"QTabBar"}), kAll, {}, false).Kind, K::None);  // no tab picture
}

TEST(ControlClassification, NoSkinMarkQueryAndOwnObjectLeaveAControlAlone)
{
    ControlFacts f = Facts({"QPushButton", "QAbstractButton"});
    f.NoSkin = true;
    EXPECT_EQ(Classify(f).Kind, K::None);
    EXPECT_EQ(Classify(f, kAll, "button").Kind, K::None);  // before any Skin3rd kind
    f.NoSkin = false;
    f.AnswersQuery = true;
    EXPECT_EQ(Classify(f).Kind, K::None);
    f.AnswersQuery = false;
    f.AlreadySkinned = true;
    EXPECT_EQ(Classify(f).Kind, K::None);
    f.AlreadySkinned = false;
    f.HasParent = false;
    EXPECT_EQ(Classify(f).Kind, K::None);

    EXPECT_TRUE(PassesNoSkinToButtons("TRadioGroup"));
    EXPECT_TRUE(PassesNoSkinToButtons("MyCheckGroup"));
    EXPECT_TRUE(PassesNoSkinToButtons("QGroupBox"));
    EXPECT_FALSE(PassesNoSkinToButtons("QFrame"));
}

TEST(ControlClassification, Skin3rdKindsComeFirstWithTheirGates)
{
    // "nil" keeps a class plain that the class table would skin.
    const ControlClass nil = Classify(Facts({"QPushButton", "QAbstractButton"}), kAll, "nil");
    EXPECT_EQ(nil.Kind, K::None);
    EXPECT_TRUE(nil.Matched);
    // A mapped kind skins a class the table does not know.
    const ControlClass panel = Classify(Facts({"TTBDock", "QWidget"}), kAll, "panel");
    EXPECT_EQ(panel.Kind, K::Panel);
    EXPECT_TRUE(panel.WithBackground);
    // The trackbar kind is gated by the button bit, not the track bar bit.
    const uint32_t trackOnly = Without(xcButton);
    EXPECT_EQ(Classify(Facts({"TMyTrack", "QWidget"}), trackOnly, "trackbar").Kind, K::None);
    EXPECT_EQ(Classify(Facts({"TMyTrack", "QWidget"}), Without(xcTrackBar), "trackbar").Kind, K::Slider);
    EXPECT_EQ(Classify(Facts({"QSlider", "QAbstractSlider"}), trackOnly).Kind, K::Slider);
    // An edit kind only for an edit with a border.
    ControlFacts edit = Facts({"TMyEdit"});
    EXPECT_EQ(Classify(edit, kAll, "edit").Kind, K::None);
    edit.HasBorder = true;
    EXPECT_EQ(Classify(edit, kAll, "edit").Kind, K::LineEdit);
    // A kind whose gate is off, or one this engine does not know, ends the
    // search with the control unskinned.
    EXPECT_EQ(Classify(Facts({"QComboBox"}), Without(xcCombo), "combobox").Kind, K::None);
    EXPECT_TRUE(Classify(Facts({"QComboBox"}), kAll, "wobble").Matched);
    EXPECT_EQ(Classify(Facts({"QComboBox"}), kAll, "wobble").Kind, K::None);
    EXPECT_EQ(Classify(Facts({"TBox"}), kAll, "container").ClassifyChildren, true);
}

TEST(ControlClassification, DialogBoxControls)
{
    EXPECT_EQ(ClassifyChildWindow(Facts({"QPushButton", "QAbstractButton"})).Kind, K::Button);
    EXPECT_EQ(ClassifyChildWindow(Facts({"QCheckBox", "QAbstractButton"})).Kind, K::CheckBox);
    EXPECT_EQ(ClassifyChildWindow(Facts({"QLineEdit"})).Kind, K::LineEdit);
    EXPECT_EQ(ClassifyChildWindow(Facts({"QComboBox"})).Kind, K::ComboBox);
    EXPECT_EQ(ClassifyChildWindow(Facts({"QSizeGrip"})).Kind, K::SizeGrip);
    // A dialog box's views and tool bars keep their own look.
    const ControlClass tree =
        ClassifyChildWindow(Facts({"QTreeView", "QAbstractItemView", "QAbstractScrollArea"}));
    EXPECT_EQ(tree.Kind, K::None);
    EXPECT_FALSE(tree.ClassifyChildren);
    EXPECT_TRUE(ClassifyChildWindow(Facts({"QDialogButtonBox", "QWidget"})).ClassifyChildren);
}

TEST(ControlStates, PushButtonFrames)
{
    EXPECT_EQ(ButtonFrame(true, false, false, false), 1);
    EXPECT_EQ(ButtonFrame(true, true, true, true), 2);
    EXPECT_EQ(ButtonFrame(true, false, true, false), 4);
    EXPECT_EQ(ButtonFrame(true, false, false, true), 4);
    // Disabled shows frame 3 whatever the mouse does.
    EXPECT_EQ(ButtonFrame(false, true, true, true), 3);
    EXPECT_EQ(ToolButtonImage(true, true, false, false), 2);
    EXPECT_EQ(ToolButtonImage(true, false, true, false), 4);
    EXPECT_EQ(ToolButtonImage(true, false, false, false), 1);
    EXPECT_EQ(ToolButtonImage(false, false, false, false), 0);
    EXPECT_EQ(SkinnedComboBox::buttonImage(false, true, true, true), 3);
    EXPECT_EQ(SkinnedComboBox::buttonImage(true, true, false, false), 2);
    EXPECT_EQ(SkinnedComboBox::buttonImage(true, false, true, false), 4);
    EXPECT_EQ(SkinnedTabBar::tabImage(true, false, true), 3);
    EXPECT_EQ(SkinnedTabBar::tabImage(false, false, true), 4);
    EXPECT_EQ(SkinnedTabBar::tabImage(false, true, true), 2);
}

TEST(ControlStates, CheckGlyphFrames)
{
    EXPECT_EQ(CheckGlyphFrame(false, false, true, 4), 1);
    EXPECT_EQ(CheckGlyphFrame(true, false, true, 4), 2);
    EXPECT_EQ(CheckGlyphFrame(false, false, false, 4), 3);
    EXPECT_EQ(CheckGlyphFrame(true, false, false, 4), 4);
    EXPECT_EQ(CheckGlyphFrame(false, true, true, 4), 4);
    // A 12-frame picture keeps its own order.
    EXPECT_EQ(CheckGlyphFrame(false, false, true, 12), 1);
    EXPECT_EQ(CheckGlyphFrame(true, false, true, 12), 5);
    EXPECT_EQ(CheckGlyphFrame(false, false, false, 12), 4);
    EXPECT_EQ(CheckGlyphFrame(true, false, false, 12), 8);
    EXPECT_EQ(CheckGlyphFrame(false, true, true, 12), 9);
    EXPECT_EQ(CheckGlyphFrame(false, true, false, 12), 12);
}

TEST(ScrollBarGeometry, ThumbFollowsPositionAndPage)
{
    // 200 pixels, 17-pixel arrows, positions 0..99 of which 10 show.
    const ScrollRange range{0, 99, 10};
    ScrollBarLayout l = LayOutScrollBar(200, 17, range);
    EXPECT_EQ(l.ThumbStart, 17);
    EXPECT_EQ(l.ThumbLength, 15);                                           // (200 - 34) * 9 / 99
    EXPECT_EQ(LayOutScrollBar(200, 17, {45, 99, 10}).ThumbStart, 17 + 75);  // 166 * 45 / 99
    // The thumb never leaves the track, nor shrinks to nothing.
    l = LayOutScrollBar(200, 17, {99, 99, 10});
    EXPECT_LE(l.ThumbStart + l.ThumbLength, 200 - 17);
    EXPECT_EQ(LayOutScrollBar(200, 17, {0, 20000, 40}).ThumbLength, 8);
    // Without a page the thumb is as long as an arrow.
    l = LayOutScrollBar(200, 17, {0, 50, 0});
    EXPECT_EQ(l.ThumbLength, 17);
    EXPECT_EQ(LayOutScrollBar(200, 17, {50, 50, 0}).ThumbStart, 17 + 149);
    // Arrows share a bar too short for both.
    EXPECT_EQ(LayOutScrollBar(20, 17, range).Arrow, 10);
}

TEST(ScrollBarGeometry, ZonesAlongTheBar)
{
    const ScrollBarLayout l = LayOutScrollBar(200, 17, {45, 99, 10});
    EXPECT_EQ(ScrollZoneAt(l, 0), kFirstArrow);
    EXPECT_EQ(ScrollZoneAt(l, 16), kFirstArrow);
    EXPECT_EQ(ScrollZoneAt(l, 17), kPageBack);
    EXPECT_EQ(ScrollZoneAt(l, l.ThumbStart), kThumb);
    EXPECT_EQ(ScrollZoneAt(l, l.ThumbStart + l.ThumbLength), kPageForward);
    EXPECT_EQ(ScrollZoneAt(l, 183), kSecondArrow);
    EXPECT_EQ(ScrollZoneAt(l, 200), kNoZone);
    EXPECT_EQ(ScrollZoneAt(l, -1), kNoZone);
}

TEST(ScrollBarGeometry, DraggingTheThumbMapsBackToPositions)
{
    const ScrollRange range = RangeOfSlider(0, 90, 10, 0);  // Qt's 0..90 with a page of 10
    EXPECT_EQ(range.Maximum, 99);
    EXPECT_EQ(range.Page, 10);
    const ScrollBarLayout l = LayOutScrollBar(200, 17, range);
    EXPECT_EQ(PositionForThumb(l, range, 17), 0);
    EXPECT_EQ(PositionForThumb(l, range, 200 - 17 - l.ThumbLength), 90);
    EXPECT_EQ(PositionForThumb(l, range, 500), 90);
    EXPECT_EQ(PositionForThumb(l, range, -50), 0);
    const int middle = PositionForThumb(l, range, 17 + (200 - 34 - l.ThumbLength) / 2);
    EXPECT_NEAR(middle, 45, 1);
    EXPECT_EQ(RangeOfSlider(5, 5, 0, 5).Maximum, 0);
}

TEST(ScrollBarGeometry, PictureFramesByPart)
{
    EXPECT_EQ(ArrowFrame(true, false, false, false, true), 1);
    EXPECT_EQ(ArrowFrame(true, true, false, false, true), 5);
    EXPECT_EQ(ArrowFrame(false, false, false, false, true), 9);
    EXPECT_EQ(ArrowFrame(false, true, true, true, true), 14);  // pressed wins over hot
    EXPECT_EQ(ArrowFrame(false, true, false, true, true), 16);
    EXPECT_EQ(ArrowFrame(true, false, false, false, false), 3);
    EXPECT_EQ(GripFrame(true, false, false), 17);
    EXPECT_EQ(GripFrame(false, true, false), 21);
    EXPECT_EQ(GripFrame(false, false, true), 22);
    EXPECT_EQ(ThumbImage(true, true), 2);
    EXPECT_EQ(ThumbImage(false, true), 3);
    EXPECT_EQ(TrackImage(false), 3);
}
