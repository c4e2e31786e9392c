// The skinned frame's arithmetic and the skin manager's decisions, without
// windows: nine-part pieces, border widths, which caption buttons show and
// where, where the caption text goes, what a point of the frame means, the
// window's shape, and the window, skin and popup rules.
#include "skin/data/nine_part_rule.h"
#include "skin/data/skin_model.h"
#include "skin/windows/caption_button.h"
#include "skin/windows/frame_drawing.h"
#include "skin/windows/frame_geometry.h"
#include "skin/windows/window_rule.h"

#include <QPainter>

#include <gtest/gtest.h>

using namespace qasp::skin;

namespace {

QImage Filled(int w, int h, QColor colour)
{
    QImage image(w, h, QImage::Format_RGB888);
    image.fill(colour);
    return image;
}

// A model with the shipped skin's border sizes: caption 26, sides 4, bottom 4.
SkinModel BorderModel(bool transparent)
{
    SkinModel m;
    m.Top.Bitmap = Filled(64, 52, Qt::blue);
    m.Top.FrameCount = 2;
    m.Top.Margins = {8, 0, 8, 0};
    m.Left.Bitmap = Filled(8, 40, Qt::blue);
    m.Left.FrameCount = 2;
    m.Left.Margins = {0, 26, 0, 4};
    m.Right.Bitmap = m.Left.Bitmap;
    m.Right.FrameCount = 2;
    m.Right.Margins = m.Left.Margins;
    m.Bottom.Bitmap = Filled(16, 8, Qt::blue);
    m.Bottom.FrameCount = 2;
    for (SkinBorder *b : {&m.Top, &m.Left, &m.Right, &m.Bottom}) {
        b->Trans = transparent ? 1 : 0;
        b->Tile = 0;
    }
    if (transparent) {
        // The left border's top-left pixel (both states) is magenta: a
        // rounded corner.
        m.Left.Bitmap.setPixelColor(0, 0, QColor(255, 0, 255));
        m.Left.Bitmap.setPixelColor(4, 0, QColor(255, 0, 255));
    }
    return m;
}

SkinCaptionButton Button(int action, int align, int x, int visibility = 0, int visibility1 = 0)
{
    SkinCaptionButton b("B");
    b.Action = action;
    b.Align = align;
    b.Xcoord = x;
    b.Ycoord = 4;
    b.Visibility = visibility;
    b.Visibility1 = visibility1;
    return b;
}

}  // namespace

TEST(NinePartRule, CornersKeepTheirSizeAndTheMiddleStretches)
{
    const auto pieces = NinePartPieces(QSize(30, 30), QRect(10, 20, 100, 50), {8, 4, 6, 2});
    ASSERT_EQ(pieces.size(), 9u);
    EXPECT_EQ(pieces[0].from, QRect(0, 0, 8, 4));
    EXPECT_EQ(pieces[0].to, QRect(10, 20, 8, 4));
    EXPECT_EQ(pieces[8].to, QRect(104, 68, 6, 2));
    EXPECT_TRUE(pieces[4].centre);
    EXPECT_EQ(pieces[4].from, QRect(8, 4, 16, 24));
    EXPECT_EQ(pieces[4].to, QRect(18, 24, 86, 44));
}

TEST(NinePartRule, MarginsThatDoNotFitAreDroppedInPairs)
{
    // Too narrow for 8 + 6: the side margins go, the top and bottom stay.
    const auto pieces = NinePartPieces(QSize(30, 30), QRect(0, 0, 10, 50), {8, 4, 6, 2});
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_EQ(pieces[0].from, QRect(0, 0, 30, 4));
    EXPECT_EQ(pieces[0].to, QRect(0, 0, 10, 4));
    // A broken skin whose picture is smaller than its margins draws whole.
    EXPECT_EQ(NinePartPieces(QSize(5, 5), QRect(0, 0, 40, 40), {4, 4, 4, 4}).size(), 1u);
    EXPECT_TRUE(NinePartPieces(QSize(5, 5), QRect(0, 0, 0, 40), {}).empty());
}

TEST(FrameMetrics, BordersAreTheirPictureOverTheirStateCount)
{
    const SkinModel m = BorderModel(false);
    const FrameMetrics metrics = RecalcFrameMetrics(m, kSizableFrame);
    EXPECT_EQ(metrics.CaptionHeight, 26);
    EXPECT_EQ(metrics.BorderLeft, 4);
    EXPECT_EQ(metrics.BorderRight, 4);
    EXPECT_EQ(metrics.BorderBottom, 4);
    EXPECT_EQ(metrics.Extra(), QSize(8, 30));
    EXPECT_EQ(RecalcFrameMetrics(m, kNoCaption), FrameMetrics{});

    const FrameRects r = LayOutFrame(QSize(200, 100), metrics);
    EXPECT_EQ(r.Left, QRect(0, 0, 4, 100));
    EXPECT_EQ(r.Right, QRect(196, 0, 4, 100));
    EXPECT_EQ(r.Bottom, QRect(4, 96, 192, 4));
    EXPECT_EQ(r.Top, QRect(4, 0, 192, 26));
    EXPECT_EQ(r.Inner, QRect(4, 26, 192, 70));
}

TEST(CaptionButtons, VisibilityTable)
{
    ButtonFacts f;
    f.Capabilities = kSystemMenu | kMaximiseBox;
    struct Row {
        int value;
        bool second;
        bool normalActive, maximisedInactive;
    } rows[] = {
        {0, false, true, true},   {1, false, false, true},    {2, false, true, false},
        {3, false, true, false},  {4, false, false, true},    {6, false, true, true},
        {7, false, false, false}, {8, false, false, false},   {8, true, false, false},
        {9, false, true, true},   {100, false, false, false}, {200, false, false, false},
        {500, false, true, true}, {1500, true, true, true},   {1500, false, false, false},
        {5, false, false, false}, {-1, true, false, false},
    };
    for (const Row &row : rows) {
        f.WindowState = kNormalState;
        f.IsActive = true;
        EXPECT_EQ(VisibilityHolds(row.value, row.second, 0, f), row.normalActive) << row.value;
        f.WindowState = kMaximisedState;
        f.IsActive = false;
        EXPECT_EQ(VisibilityHolds(row.value, row.second, 0, f), row.maximisedInactive) << row.value;
    }
    // 6 and 8 ask for the system menu too, except as the second condition.
    f.Capabilities = kMaximiseBox | kMinimiseBox;
    EXPECT_FALSE(VisibilityHolds(6, false, 0, f));
    EXPECT_TRUE(VisibilityHolds(6, true, 0, f));
    EXPECT_TRUE(VisibilityHolds(8, true, 0, f));
    f.FrameKind = kDialogFrame;
    EXPECT_TRUE(VisibilityHolds(200, false, 0, f));
    f.IsSystemDialog = true;
    EXPECT_FALSE(VisibilityHolds(200, false, 0, f));
}

TEST(CaptionButtons, TheApplicationDecidesVisibilityFromAThousand)
{
    ButtonFacts f;
    int askedVisibility = 0, askedAction = 0;
    f.AskApplication = [&](int visibility, int action) {
        askedVisibility = visibility;
        askedAction = action;
        return visibility == 1000 ? 1 : 0;
    };
    EXPECT_TRUE(SysButtonShown(Button(40, 1, 80, 1000), f));
    EXPECT_EQ(askedVisibility, 1000);
    EXPECT_EQ(askedAction, 40);
    EXPECT_FALSE(SysButtonShown(Button(40, 1, 80, 1001), f));
    f.AskApplication = nullptr;
    EXPECT_FALSE(SysButtonShown(Button(40, 1, 80, 1000), f));
}

TEST(CaptionButtons, ActionsNeedTheirBox)
{
    ButtonFacts f;
    f.Capabilities = kSystemMenu;
    EXPECT_FALSE(SysButtonShown(Button(1, 1, 44), f));
    EXPECT_FALSE(SysButtonShown(Button(2, 1, 64), f));
    EXPECT_TRUE(SysButtonShown(Button(0, 1, 24), f));
    EXPECT_TRUE(SysButtonShown(Button(3, 0, 6), f));
    f.FrameKind = kDialogFrame;  // a dialog has no icon
    EXPECT_FALSE(SysButtonShown(Button(3, 0, 6), f));
    EXPECT_FALSE(SysButtonShown(Button(12, 0, 6), f));
}

TEST(CaptionButtons, PlacementByAlign)
{
    const SkinCaptionButton close = Button(0, 1, 24), minimise = Button(2, 1, 64), icon = Button(3, 0, 6),
                            beforeText = Button(40, 2, 3), afterText = Button(41, 3, 5),
                            hidden = Button(1, 1, 200), menuBar = Button(7, 100, 30);
    std::vector<SysButtonSlot> buttons = {
        {&close, QSize(18, 18), true, {}},     {&minimise, QSize(18, 18), true, {}},
        {&icon, QSize(16, 16), true, {}},      {&beforeText, QSize(10, 10), true, {}},
        {&afterText, QSize(10, 10), true, {}}, {&hidden, QSize(18, 18), false, {}},
        {&menuBar, QSize(16, 14), true, {}},
    };
    EXPECT_EQ(CaptionRightLimit(buttons, 300), 236);  // the hidden one does not count
    FrameMetrics m;
    m.BorderRight = 4;
    m.CaptionHeight = 26;
    m.MenuBarHeight = 20;
    PlaceSysButtons(buttons, 300, QRect(28, 5, 100, 16), m, 2, false);
    EXPECT_EQ(buttons[0].Bounds, QRect(276, 4, 18, 18));
    EXPECT_EQ(buttons[1].Bounds, QRect(236, 4, 18, 18));
    EXPECT_EQ(buttons[2].Bounds, QRect(6, 4, 16, 16));
    EXPECT_EQ(buttons[3].Bounds.left(), 28 - 10 - 3);
    EXPECT_EQ(buttons[4].Bounds.left(), 128 + 5);
    EXPECT_TRUE(buttons[5].Bounds.isNull());
    EXPECT_EQ(buttons[6].Bounds, QRect(300 - 30 - 4 - 2, 26 + 3, 16, 14));
    std::vector<SysButtonSlot> none;
    EXPECT_EQ(CaptionRightLimit(none, 300), 0);
}

TEST(CaptionText, PlacementAndClipping)
{
    SkinTitle title("Title");
    title.Margins = {28, 4, 90, 0};  // TextShift, TextShiftVert, TextRightClip
    CaptionTextFacts f;
    f.WindowWidth = 400;
    f.CaptionHeight = 26;
    f.TextSize = QSize(100, 12);
    // At TextShift, centred and moved down by half of TextShiftVert; the
    // right-aligned buttons end it 5 pixels early.
    f.RightLimit = 340;
    EXPECT_EQ(PlaceCaptionText(title, f), QRect(28, 9, 100, 12));
    f.TextSize = QSize(500, 12);
    EXPECT_EQ(PlaceCaptionText(title, f).right(), 334);
    // Without right-aligned buttons the clip is TextRightClip from the end.
    f.RightLimit = 0;
    EXPECT_EQ(PlaceCaptionText(title, f).right(), 309);
    f.TextSize = QSize(100, 12);
    f.DialogFrame = true;
    EXPECT_EQ(PlaceCaptionText(title, f).left(), 12);
    f.DialogFrame = false;
    title.TextAlignment = 1;
    EXPECT_EQ(PlaceCaptionText(title, f).left(), 150);
    title.TextAlignment = 0;
    f.RightToLeft = true;
    EXPECT_EQ(PlaceCaptionText(title, f).left(), 400 - 90 - 100);
    // The text background's margins widen the rectangle.
    f.RightToLeft = false;
    title.TXTBackleft = 6;
    title.TXTBackRight = 4;
    EXPECT_EQ(PlaceCaptionText(title, f).width(), 110);
}

TEST(FrameHitTest, BordersSizeCaptionDragsClientIsLeftAlone)
{
    FrameMetrics m;
    m.BorderLeft = m.BorderRight = m.BorderBottom = 4;
    m.CaptionHeight = 26;
    const QSize size(400, 300);
    const auto hit = [&](int x, int y) { return FrameHitTest(QPoint(x, y), size, m, true, kNormalState); };
    EXPECT_EQ(hit(1, 1), FrameHit::TopLeft);
    EXPECT_EQ(hit(10, 1), FrameHit::TopLeft);  // the corner reaches along the edge
    EXPECT_EQ(hit(200, 1), FrameHit::Top);     // the top three rows size the window
    EXPECT_EQ(hit(200, 3), FrameHit::Caption);
    EXPECT_EQ(hit(398, 150), FrameHit::Right);
    EXPECT_EQ(hit(2, 150), FrameHit::Left);
    EXPECT_EQ(hit(200, 298), FrameHit::Bottom);
    EXPECT_EQ(hit(398, 290), FrameHit::BottomRight);
    EXPECT_EQ(hit(200, 150), FrameHit::Client);
    // Maximised or fixed-size: no sizing, the caption and borders stay.
    EXPECT_EQ(FrameHitTest(QPoint(200, 1), size, m, true, kMaximisedState), FrameHit::Caption);
    EXPECT_EQ(FrameHitTest(QPoint(2, 150), size, m, false, kNormalState), FrameHit::Border);
    EXPECT_FALSE(IsSizingHit(FrameHit::Caption));
    EXPECT_TRUE(IsSizingHit(FrameHit::BottomLeft));
}

TEST(FrameHitTest, FirstShownButtonWithAnActionWins)
{
    const SkinCaptionButton decoration = Button(-1, 1, 30), close = Button(0, 1, 30);
    std::vector<SysButtonSlot> buttons = {{&decoration, {}, true, QRect(270, 4, 18, 18)},
                                          {&close, {}, false, QRect(270, 4, 18, 18)}};
    EXPECT_EQ(HitSysButton(buttons, QPoint(275, 10)), -1);
    buttons[1].Visible = true;
    EXPECT_EQ(HitSysButton(buttons, QPoint(275, 10)), 1);
    EXPECT_EQ(HitSysButton(buttons, QPoint(250, 10)), -1);
}

TEST(WindowDragGeometry, DraggingAnEdgeKeepsTheOppositeOneAndTheLimits)
{
    const QRect start(100, 100, 400, 300);
    EXPECT_EQ(ResizedGeometry(start, QPoint(50, 20), FrameHit::Right, QSize(), QSize(10000, 10000)),
              QRect(100, 100, 450, 300));
    const QRect shrunk =
        ResizedGeometry(start, QPoint(380, 0), FrameHit::Left, QSize(120, 80), QSize(10000, 10000));
    EXPECT_EQ(shrunk.width(), 120);
    EXPECT_EQ(shrunk.right(), start.right());
    const QRect corner =
        ResizedGeometry(start, QPoint(-30, -40), FrameHit::TopLeft, QSize(), QSize(10000, 10000));
    EXPECT_EQ(corner, QRect(70, 60, 430, 340));
    EXPECT_EQ(ResizedGeometry(start, QPoint(0, 500), FrameHit::Bottom, QSize(), QSize(500, 500)).height(),
              500);
}

TEST(FrameRegion, MagentaBorderPixelsAreCutFromTheWindow)
{
    const SkinModel m = BorderModel(true);
    const FrameMetrics metrics = RecalcFrameMetrics(m, kSizableFrame);
    const QRegion region = BuildFrameRegion(m, metrics, QSize(200, 100), kSizableFrame);
    EXPECT_FALSE(region.contains(QPoint(0, 0)));
    EXPECT_TRUE(region.contains(QPoint(1, 0)));
    EXPECT_TRUE(region.contains(QPoint(199, 0)));
    EXPECT_TRUE(region.contains(QPoint(100, 50)));
    EXPECT_TRUE(region.contains(QPoint(100, 99)));
    EXPECT_EQ(region.boundingRect(), QRect(0, 0, 200, 100));

    // Without a Trans flag the shape is the whole window.
    const SkinModel plain = BorderModel(false);
    EXPECT_EQ(BuildFrameRegion(plain, metrics, QSize(200, 100), kSizableFrame), QRegion(0, 0, 200, 100));
    // A window without a caption keeps only its inner part.
    EXPECT_EQ(BuildFrameRegion(m, FrameMetrics{}, QSize(200, 100), kNoCaption), QRegion(0, 0, 200, 100));
}

TEST(FrameRegion, OpaquePixelsFollowTheRows)
{
    QImage image = Filled(5, 2, Qt::white);
    image.setPixelColor(2, 0, QColor(255, 0, 255));
    const QRegion region = OpaquePixels(image, QPoint(10, 10));
    EXPECT_FALSE(region.contains(QPoint(12, 10)));
    EXPECT_TRUE(region.contains(QPoint(11, 10)));
    EXPECT_TRUE(region.contains(QPoint(13, 10)));
    EXPECT_TRUE(region.contains(QPoint(12, 11)));
    EXPECT_EQ(region.boundingRect(), QRect(10, 10, 5, 2));
}

TEST(WindowRule, TestsRunInOrder)
{
    WindowRuleFacts f;
    f.Active = true;
    f.BelongsHere = true;
    f.HasArea = true;
    f.HasFrameworkForm = true;
    f.SkinUsable = true;
    f.ClassName = "TFAsp";
    EXPECT_EQ(FirstFailingTest(f), WindowRuleTest::Passed);

    WindowRuleFacts g = f;
    g.MarkedNoSkin = true;
    EXPECT_EQ(FirstFailingTest(g), WindowRuleTest::NoSkinMark);
    g.Active = false;  // an earlier test names the reason first
    EXPECT_EQ(FirstFailingTest(g), WindowRuleTest::Active);
    g = f;
    g.HasFrameworkForm = false;  // a system dialog has no form, so no mark
    g.MarkedNoSkin = true;
    EXPECT_EQ(FirstFailingTest(g), WindowRuleTest::Passed);

    g = f;
    g.IsMdiClientChild = true;
    EXPECT_EQ(FirstFailingTest(g), WindowRuleTest::MdiClientChild);
    g.Forcing = true;
    EXPECT_EQ(FirstFailingTest(g), WindowRuleTest::Passed);

    g = f;
    g.HasArea = false;
    EXPECT_EQ(FirstFailingTest(g), WindowRuleTest::Area);
    g.IsMdiChild = true;
    EXPECT_EQ(FirstFailingTest(g), WindowRuleTest::Passed);

    g = f;
    g.AnswersQuery = true;
    EXPECT_EQ(FirstFailingTest(g), WindowRuleTest::Query);
    g = f;
    g.HasPainter = true;
    EXPECT_EQ(FirstFailingTest(g), WindowRuleTest::AlreadySkinned);
    g = f;
    g.ClassName = "TApplication";
    EXPECT_EQ(FirstFailingTest(g), WindowRuleTest::Application);
    g = f;
    g.ClassAccepted = false;
    EXPECT_EQ(FirstFailingTest(g), WindowRuleTest::ClassFilter);
    g = f;
    g.SkinUsable = false;
    EXPECT_EQ(FirstFailingTest(g), WindowRuleTest::SkinUsable);
}

TEST(WindowRule, ClassFilter)
{
    EXPECT_TRUE(ClassAccepted("PrintPreviewForm", nullptr));
    SkinData main;
    main.Options &= ~(1u << xoPreview);
    EXPECT_FALSE(ClassAccepted("PrintPreviewForm", &main));
    main.Options |= 1u << xoPreview;
    EXPECT_TRUE(ClassAccepted("PrintPreviewForm", &main));
    EXPECT_FALSE(ClassAccepted("SysMonthCal32", &main));
    main.SkinControls |= 1u << xcFastReport;
    EXPECT_FALSE(ClassAccepted("TfrDesigner", &main));
    main.OnFormSkin = [](QObject *, const QString &name, bool &doSkin) { doSkin = name != "QDialog"; };
    EXPECT_TRUE(ClassAccepted("SysMonthCal32", &main));  // the handler has the last word
    EXPECT_FALSE(ClassAccepted("QDialog", &main));
}

TEST(SkinChoice, OwnFormThenDialogThenMainThenFirst)
{
    const std::vector<SkinChoiceEntry> entries = {{sfDialog, false},
                                                  {sfMainform, false},
                                                  {sfOnlyThisForm, false},
                                                  {sfMainform, false},
                                                  {sfDialog, false}};
    EXPECT_EQ(ChooseSkinIndex(entries, "TFHelp"), 3);       // the last main form component
    EXPECT_EQ(ChooseSkinIndex(entries, "QMessageBox"), 4);  // the last dialog component
    std::vector<SkinChoiceEntry> own = entries;
    own[2].OwnerIsWindow = true;
    EXPECT_EQ(ChooseSkinIndex(own, "QMessageBox"), 2);
    EXPECT_EQ(ChooseSkinIndex({{sfDLL, false}, {sfDLL, false}}, "X"), 0);
    EXPECT_EQ(ChooseSkinIndex({}, "X"), -1);
}

TEST(PopupRule, EachKindHasItsGate)
{
    const uint32_t popupOnly = 1u << xcPopupMenu;
    EXPECT_TRUE(PopupKindAllowed(kContextMenu, popupOnly));
    EXPECT_FALSE(PopupKindAllowed(kMenuBarDropDown, popupOnly));
    EXPECT_FALSE(PopupKindAllowed(kSystemMenuKind, popupOnly));
    EXPECT_TRUE(PopupKindAllowed(kMenuBarDropDown, 1u << xcMenuItem));
    EXPECT_TRUE(PopupKindAllowed(kMenuBarDropDown, 1u << xcMainMenu));
    EXPECT_TRUE(PopupKindAllowed(kSystemMenuKind, 1u << xcSystemMenu));
    EXPECT_FALSE(PopupKindAllowed(kContextMenu, 1u << xcMainMenu));
}

TEST(CaptionButtons, AnInactiveWindowGreysAButtonWithoutItsOwnInactiveImage)
{
    // Three states side by side: a blue box, hot, pressed; the corner is
    // transparent.
    SkinCaptionButton close = Button(0, 1, 24);
    close.FrameCount = 3;
    close.Bitmap = QImage(3 * 8, 8, QImage::Format_ARGB32_Premultiplied);
    close.Bitmap.fill(QColor(40, 90, 200));
    close.Bitmap.setPixel(0, 0, 0);
    CaptionButton button(&close, QImage());
    button.setVisible(true);
    button.setBounds(QRect(0, 0, 8, 8));
    const auto shown = [&button](CaptionButton::Look look, bool active) {
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        button.paint(p, look, active);
        return image;
    };
    EXPECT_EQ(shown(CaptionButton::Look::Normal, true).pixelColor(4, 4), QColor(40, 90, 200));
    const QImage inactive = shown(CaptionButton::Look::Normal, false);
    const QColor grey = inactive.pixelColor(4, 4);
    EXPECT_EQ(grey.red(), grey.green());
    EXPECT_EQ(grey.green(), grey.blue());
    EXPECT_EQ(inactive.pixelColor(0, 0), QColor(Qt::white));  // still transparent
    // The mouse over it shows the hot image, active window or not.
    EXPECT_EQ(shown(CaptionButton::Look::Hot, false).pixelColor(4, 4), QColor(40, 90, 200));

    // A button with an inactive image of its own uses it.
    close.FrameCount = 4;
    close.Bitmap = QImage(4 * 8, 8, QImage::Format_RGB32);
    close.Bitmap.fill(Qt::red);
    for (int x = 24; x < 32; ++x)
        for (int y = 0; y < 8; ++y)
            close.Bitmap.setPixelColor(x, y, Qt::green);
    CaptionButton own(&close, QImage());
    own.setVisible(true);
    own.setBounds(QRect(0, 0, 8, 8));
    QImage image(8, 8, QImage::Format_RGB32);
    QPainter p(&image);
    own.paint(p, CaptionButton::Look::Normal, false);
    EXPECT_EQ(image.pixelColor(4, 4), QColor(Qt::green));
}
