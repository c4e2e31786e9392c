// The skin's data: picture routines, the element readers, the model and
// what a model must hold for a window to wear it.
#include "skin/data/bitmap_routines.h"
#include "skin/data/lzh.h"
#include "skin/data/quick_ini.h"
#include "skin/data/required_elements.h"
#include "skin/data/skin_draw.h"
#include "skin/data/skin_element_readers.h"
#include "skin/data/skin_model.h"
#include "skin/data/skin_reader.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPainter>

#include <gtest/gtest.h>

using namespace qasp::skin;

namespace {

QImage Pattern(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB888);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixelColor(x, y, QColor(x * 40 % 256, y * 60 % 256, (x + y) * 20 % 256));
    return image;
}

std::string Bmp(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes.toStdString();
}

// A skin made of a description and the named pictures.
struct TestSkin {
    TSkinReader reader;
    TQuickIni ini;
    SkinModel model;

    TestSkin(const std::string &description, std::vector<std::pair<std::string, std::string>> pictures)
    {
        pictures.emplace_back("skin.ini", description);
        EXPECT_TRUE(reader.ReadSkin(LzhEncode(BuildSkinContainer(pictures))));
        ini.Load(description);
        SkinEnvironment env;
        env.track = Pattern(16, 4);
        env.trackVert = Pattern(4, 16);
        env.scrollArrowWidth = 16;
        BuildSkinModel(model, reader, ini, env);
    }
};

}  // namespace

TEST(BitmapRoutines, MirrorAndFlip)
{
    const QImage original = Pattern(5, 3);
    QImage image = original;
    MirrorHorizontal(image);
    EXPECT_EQ(image.pixelColor(0, 1), original.pixelColor(4, 1));
    FlipVertical(image);
    EXPECT_EQ(image.pixelColor(0, 0), original.pixelColor(4, 2));
    image = original;
    Grayscale(image);
    const QColor c = original.pixelColor(2, 1);
    EXPECT_EQ(image.pixelColor(2, 1).red(), (c.red() + c.green() + c.blue()) / 3);
}

TEST(BitmapRoutines, BlendOnBothScales)
{
    EXPECT_EQ(BlendColours(0x0000C8, 0x000000, 50), 0x000064);   // half and half
    EXPECT_EQ(BlendColours(0x0000FF, 0x000000, 100), 0x00001A);  // per mille: 10 % of a
    EXPECT_EQ(BlendColours(0xFFFFFF, 0x000000, 150), 0x262626);  // 15 %
}

TEST(BitmapRoutines, GradientTablesAndClippedFills)
{
    EXPECT_EQ(GradientTable(1, 0x000000, 0x0000C8), std::vector<SkinColour>{0x000064});  // the middle
    const std::vector<SkinColour> &t = GradientTable(5, 0x000000, 0x0000FF);
    EXPECT_EQ(t.front(), 0x000000);
    EXPECT_EQ(t.back(), 0x0000FF);
    EXPECT_EQ(&GradientTable(5, 0x000000, 0x0000FF), &t);  // served from the cache

    QImage whole(4, 10, QImage::Format_RGB888), clipped(4, 10, QImage::Format_RGB888);
    whole.fill(Qt::white);
    clipped.fill(Qt::white);
    {
        QPainter p(&whole);
        GradientFill(p, whole.rect(), 0x000000, true, 0xFF0000);
    }
    {
        QPainter p(&clipped);
        p.setClipRect(0, 3, 4, 3);
        GradientFill(p, clipped.rect(), 0x000000, true, 0xFF0000);
    }
    for (int y = 0; y < 10; ++y)
        EXPECT_EQ(clipped.pixelColor(1, y), (y >= 3 && y < 6) ? whole.pixelColor(1, y) : QColor(Qt::white))
            << y;
}

TEST(SkinElementReaders, BitmapNamesLoseTheirDirectoryAndNeedALowerCaseBmp)
{
    TSkinReader reader;
    ASSERT_TRUE(reader.ReadSkin(LzhEncode(BuildSkinContainer({{"pic.bmp", Bmp(Pattern(4, 4))}}))));
    EXPECT_EQ(LoadSkinBitmap(reader, "C:\\skins\\pic.bmp").size(), QSize(4, 4));
    EXPECT_EQ(LoadSkinBitmap(reader, "skins:pic.bmp").size(), QSize(4, 4));
    EXPECT_TRUE(LoadSkinBitmap(reader, "PIC.BMP").isNull());
    EXPECT_TRUE(LoadSkinBitmap(reader, "other.bmp").isNull());
    EXPECT_TRUE(LoadSkinBitmap(reader, "dir\\").isNull());
}

TEST(SkinModel, ASparseDescriptionGivesTheDefaults)
{
    TestSkin skin("[TitlebarSkin]\r\nSkinName=Sparse\r\n"
                  "[Colours]\r\nButtonFace=200 200 200\r\n"
                  "[Colours]\r\n[colour7]\r\ncolor=1 2 3\r\n[Colour9]\r\n"
                  "[Button.Help]\r\nAction=-1\r\n"
                  "[Button.Hidden]\r\nAction=-1\r\nVisibility=0\r\n"
                  "[ButtonWide]\r\nAction=1\r\nButtonImage=wide.bmp\r\n"
                  "[ButtonNarrow]\r\nAction=2\r\nButtonImage=narrow.bmp\r\n",
                  {{"wide.bmp", Bmp(Pattern(120, 20))}, {"narrow.bmp", Bmp(Pattern(60, 20))}});
    const SkinModel &m = skin.model;
    EXPECT_EQ(m.SkinName, "Sparse");
    EXPECT_EQ(m.Left.FrameCount, 1);
    EXPECT_EQ(m.Top.Tile, 0);  // Stretch defaults to 1: the border stretches
    EXPECT_EQ(m.Bottom.Trans, 1);
    EXPECT_EQ(m.Colours.ButtonFace, 0xC8C8C8);
    EXPECT_EQ(m.Colours.Menubar, 0xC8C8C8);  // the ButtonFace just read
    EXPECT_EQ(m.Colours.WindowText, SystemColour(8));
    EXPECT_EQ(m.Colours.TitleTextNoActive, SystemColour(19));
    EXPECT_EQ(m.ColourList, (std::vector<SkinColour>{0x030201, SystemColour(8)}));
    EXPECT_EQ(m.CustomColours[9], 0xFFFFFF);
    EXPECT_EQ(m.Title.FontHeight, 14);
    EXPECT_EQ(m.Title.ActiveText, SkinTitle::kNoColour);
    EXPECT_EQ(m.Title.FrameCount, 2);
    EXPECT_EQ(m.Buttons.FrameCount, 5);
    EXPECT_EQ(m.Buttons.RadioButtonFrame, 4);
    EXPECT_EQ(m.Buttons.NormalColour, -1);
    EXPECT_FALSE(m.Buttons.HasNormalColour2);

    // Button.Help (Action -1, no Visibility) is skipped; Button.Hidden kept.
    ASSERT_EQ(m.CaptionButtons.size(), 3u + 3u);
    EXPECT_EQ(m.CaptionButtons[0]->Name, "BUTTON.HIDDEN");
    EXPECT_EQ(m.CaptionButtons[0]->FrameCount, 6);
    EXPECT_EQ(m.CaptionButtons[0]->Visibility1, -1);
    EXPECT_EQ(m.CaptionButtons[1]->FrameCount, 6);  // 120 / 20 > 3.8
    EXPECT_EQ(m.CaptionButtons[2]->FrameCount, 3);  // 60 / 20 <= 3.8
    EXPECT_EQ(m.CaptionButtons[2]->CombineOp, -1);
    for (int i = 3; i < 6; ++i) {
        EXPECT_EQ(m.CaptionButtons[i]->Action, 4 + i);  // 7, 8, 9
        EXPECT_EQ(m.CaptionButtons[i]->FrameCount, 4);
        EXPECT_TRUE(m.CaptionButtons[i]->Bitmap.isNull());  // no [MDICONTROLS]
    }

    EXPECT_FALSE(m.SunkEdge);
    EXPECT_FALSE(m.MenuBar);
    ASSERT_TRUE(m.Toolbar);  // the gradient background is always made
    EXPECT_EQ(m.Toolbar->Bitmap.size(), QSize(10, 40));
    ASSERT_TRUE(m.Track && m.TrackVert);
    EXPECT_EQ(m.Track->Margins.Left, 3);
    EXPECT_EQ(m.FrameColour(), 0xC8C8C8);
}

TEST(SkinModel, ComboStripsAreBuiltOnlyWithASunkEdge)
{
    const std::string pictures = "[ComboButton]\r\nImage=combo.bmp\r\n";
    TestSkin without(pictures, {{"combo.bmp", Bmp(Pattern(64, 21))}});
    ASSERT_TRUE(without.model.ComboButton);
    EXPECT_EQ(without.model.ComboButton->Bitmap.size(), QSize(64, 21));   // its own picture
    EXPECT_EQ(without.model.ComboButton->Bitmap2.size(), QSize(64, 21));  // and its mirror

    TestSkin with(pictures + "[SunkEdge]\r\nImage=sunk.bmp\r\nLeftWidth=2\r\nTopHeight=2\r\n",
                  {{"combo.bmp", Bmp(Pattern(64, 21))}, {"sunk.bmp", Bmp(Pattern(40, 10))}});
    const SkinModel &m = with.model;
    ASSERT_TRUE(m.SunkEdge && m.ComboButton);
    EXPECT_EQ(m.ComboButton->Bitmap.size(), QSize(50 * 4, 21));
    EXPECT_EQ(m.ComboButton->Style, 2);
    EXPECT_EQ(m.ComboButton->Margins.Left, 2);
    EXPECT_EQ(m.ComboButton->Margins.Right, 16 + 2 + 2);
    EXPECT_EQ(m.ComboButton->Margins.Top, 2);
    EXPECT_EQ(m.SunkEdge->Margins.Left, 16 + 2 + 2);
    // The edit part of each cell is transparent: the box draws the text there.
    EXPECT_EQ(m.ComboButton->Bitmap.pixelColor(10, 10).alpha(), 0);
    EXPECT_EQ(m.SunkEdge->Bitmap, m.ComboButton->Bitmap.mirrored(true, false));
}

namespace {

// The borders and caption buttons of a skin a window can wear.
const std::string kFrame =
    "[Personality]\r\nLeft=left.bmp\r\nLeftFrame=2\r\nRight=right.bmp\r\nRightFrame=2\r\n"
    "Top=top.bmp\r\nTopFrame=2\r\nBottom=bottom.bmp\r\nBottomFrame=2\r\n";
const std::string kCaptionButtons = "[Button.Close]\r\nAction=0\r\nButtonImage=close.bmp\r\n"
                                    "[Button.Maximize]\r\nAction=1\r\nButtonImage=max.bmp\r\n"
                                    "[Button.Minimize]\r\nAction=2\r\nButtonImage=min.bmp\r\n";

std::vector<std::pair<std::string, std::string>> FramePictures(const std::string &leaveOut = "")
{
    std::vector<std::pair<std::string, std::string>> pictures = {
        {"left.bmp", Bmp(Pattern(8, 40))},   {"right.bmp", Bmp(Pattern(8, 40))},
        {"top.bmp", Bmp(Pattern(64, 52))},   {"bottom.bmp", Bmp(Pattern(64, 8))},
        {"close.bmp", Bmp(Pattern(54, 18))}, {"max.bmp", Bmp(Pattern(54, 18))},
        {"min.bmp", Bmp(Pattern(54, 18))}};
    std::erase_if(pictures, [&](const auto &p) { return leaveOut.find(p.first) != std::string::npos; });
    return pictures;
}

std::string Replaced(std::string text, const std::string &from, const std::string &to)
{
    text.replace(text.find(from), from.size(), to);
    return text;
}

using Names = std::vector<std::string>;

}  // namespace

TEST(RequiredElements, AFramedSkinLacksNothing)
{
    TestSkin skin(kFrame + kCaptionButtons, FramePictures());
    EXPECT_EQ(MissingRequiredElements(skin.model), Names{});
}

TEST(RequiredElements, EveryMissingPartIsNamed)
{
    // A description that names no frame: the MDI child's buttons it still
    // gets are not the window's own.
    TestSkin skin("[TitlebarSkin]\r\nSkinName=Bare\r\n[MDICONTROLS]\r\nImage=mdi.bmp\r\n",
                  {{"mdi.bmp", Bmp(Pattern(48, 12))}});
    EXPECT_EQ(MissingRequiredElements(skin.model), (Names{"Left", "Right", "Top", "Bottom", "close button",
                                                          "maximise button", "minimise button"}));
}

TEST(RequiredElements, APictureTheContainerDoesNotHoldIsMissing)
{
    TestSkin skin(kFrame + kCaptionButtons, FramePictures("left.bmp bottom.bmp min.bmp"));
    EXPECT_EQ(MissingRequiredElements(skin.model), (Names{"Left", "Bottom", "minimise button"}));
}

TEST(RequiredElements, EveryStateImageMustBeAtLeastAPixel)
{
    // 52 caption rows cut into 60 states, 8 side columns into 9, 54 button
    // columns into 55: no state image left to draw.
    std::string description = Replaced(kFrame, "TopFrame=2", "TopFrame=60");
    description = Replaced(description, "RightFrame=2", "RightFrame=9");
    TestSkin skin(description + Replaced(kCaptionButtons, "Action=1\r\n", "Action=1\r\nframe=55\r\n"),
                  FramePictures());
    EXPECT_EQ(MissingRequiredElements(skin.model), (Names{"Right", "Top", "maximise button"}));
}

TEST(RequiredElements, CaptionButtonsCountByActionAndPicture)
{
    // Maximise and minimise by their second numbers; a close button without
    // a picture, or another kind of button with one, does not count.
    TestSkin skin(kFrame
                      + "[Button.Close]\r\nAction=0\r\n"
                        "[Button.Help]\r\nAction=-1\r\nVisibility=0\r\nButtonImage=close.bmp\r\n"
                        "[Button.Maximize]\r\nAction=22\r\nButtonImage=max.bmp\r\n"
                        "[Button.Minimize]\r\nAction=23\r\nButtonImage=min.bmp\r\n",
                  FramePictures());
    ASSERT_EQ(skin.model.CaptionButtons.size(), 4u + 3u);
    EXPECT_EQ(MissingRequiredElements(skin.model), Names{"close button"});
}

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

TEST(SkinModel, MagentaBecomesTransparentInEveryPictureWhateverTransSays)
{
    QImage spotted = Pattern(64, 21);
    for (int x = 0; x < 64; x += 7)
        spotted.setPixelColor(x, 3, QColor(255, 0, 255));
    QImage border = Pattern(16, 52);
    border.setPixelColor(0, 0, QColor(255, 0, 255));
    // Trans=0 everywhere: the flag decides the window's shape, never
    // whether magenta is painted.
    TestSkin skin("[Personality]\r\nTop=top.bmp\r\nTopFrame=2\r\nTopTrans=0\r\n"
                  "[ComboButton]\r\nImage=combo.bmp\r\nTrans=0\r\n"
                  "[SunkEdge]\r\nImage=sunk.bmp\r\nTrans=0\r\n"
                  "[MenuItem]\r\nImage=combo.bmp\r\nTrans=0\r\n",
                  {{"top.bmp", Bmp(border)}, {"combo.bmp", Bmp(spotted)}, {"sunk.bmp", Bmp(spotted)}});
    const SkinModel &m = skin.model;
    ASSERT_TRUE(m.MenuItem && m.ComboButton);
    EXPECT_EQ(m.Top.Bitmap.pixelColor(0, 0).alpha(), 0);
    EXPECT_EQ(m.MenuItem->Bitmap.pixelColor(7, 3).alpha(), 0);
    EXPECT_EQ(m.MenuItem->Bitmap.pixelColor(8, 3), spotted.pixelColor(8, 3));  // others untouched
    for (const auto &[name, e] : m.Elements())
        for (const QImage *image : {&e->Bitmap})
            for (int y = 0; y < image->height(); ++y)
                for (int x = 0; x < image->width(); ++x) {
                    const QColor c = image->pixelColor(x, y);
                    ASSERT_FALSE(c.alpha() == 255 && c.rgb() == QColor(255, 0, 255).rgb())
                        << name << " keeps magenta at " << x << "," << y;
                }
}

TEST(SkinDraw, OneRuleTilesOrStretchesTheMiddleOfEveryElement)
{
    // Stretch=1 stretches a border; TileMenu=1 and Tile=1 tile.
    TestSkin skin("[Personality]\r\nTop=top.bmp\r\nTopStretch=0\r\nLeft=top.bmp\r\nLeftStretch=1\r\n"
                  "menuBar=top.bmp\r\nTileMenu=1\r\n[MenuItem]\r\nImage=top.bmp\r\nTile=1\r\n"
                  "[Headerbar]\r\nImage=top.bmp\r\n",
                  {{"top.bmp", Bmp(Pattern(8, 8))}});
    const SkinModel &m = skin.model;
    EXPECT_TRUE(TilesMiddle(m.Top));
    EXPECT_FALSE(TilesMiddle(m.Left));
    ASSERT_TRUE(m.MenuBar && m.MenuItem && m.Headerbar);
    EXPECT_TRUE(TilesMiddle(*m.MenuBar));
    EXPECT_TRUE(TilesMiddle(*m.MenuItem));
    EXPECT_FALSE(TilesMiddle(*m.Headerbar));

    // Tiled, a 2-pixel-wide middle repeats with its own period along the
    // edge and across the centre; stretched, it is scaled.
    QImage source(6, 6, QImage::Format_RGB32);
    source.fill(Qt::black);
    for (int y = 0; y < 6; ++y) {
        source.setPixelColor(2, y, Qt::red);
        source.setPixelColor(3, y, Qt::blue);
    }
    QImage tiled(12, 6, QImage::Format_RGB32);
    {
        QPainter p(&tiled);
        DrawNineSlice(p, tiled.rect(), source, {2, 2, 2, 2}, true);
    }
    for (int x = 2; x < 10; ++x) {
        EXPECT_EQ(tiled.pixelColor(x, 0), x % 2 == 0 ? QColor(Qt::red) : QColor(Qt::blue)) << x;  // edge
        EXPECT_EQ(tiled.pixelColor(x, 3), x % 2 == 0 ? QColor(Qt::red) : QColor(Qt::blue)) << x;  // centre
    }
    QImage stretched(12, 6, QImage::Format_RGB32);
    {
        QPainter p(&stretched);
        DrawNineSlice(p, stretched.rect(), source, {2, 2, 2, 2}, false);
    }
    EXPECT_EQ(stretched.pixelColor(2, 3), QColor(Qt::red));
    EXPECT_EQ(stretched.pixelColor(4, 3), QColor(Qt::red));  // the red column, widened
    EXPECT_EQ(stretched.pixelColor(9, 3), QColor(Qt::blue));
}

namespace {

// The bounding box of the pixels that are not `background`.
QRect PaintedBox(const QImage &image, QColor background)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) != background)
                box |= QRect(x, y, 1, 1);
    return box;
}

// A 17-pixel arrow picture drawn into a bar's arrow cell.
QImage ArrowDrawnInto(const QSize &canvas, const QRect &cell)
{
    QImage arrow(17, 17, QImage::Format_ARGB32_Premultiplied);
    arrow.fill(QColor(0, 0, 200));
    QImage image(canvas, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    DrawFittedPicture(p, arrow, cell);
    return image;
}

}  // namespace

TEST(SkinDraw, LargePicturesAreScaledWholeKeepingTheirAspect)
{
    // A 14-pixel bar: the arrow fills its square cell, not a 2-pixel sliver.
    EXPECT_EQ(PaintedBox(ArrowDrawnInto(QSize(60, 14), QRect(0, 0, 14, 14)), Qt::white), QRect(0, 0, 14, 14));
    // A bar 16 thick with a 17-pixel arrow cell: a 16-pixel square, centred along the bar.
    EXPECT_EQ(PaintedBox(ArrowDrawnInto(QSize(60, 16), QRect(43, 0, 17, 16)), Qt::white),
              QRect(43, 0, 16, 16));
    // A bar too short for whole arrows: each shrinks as a whole, centred across.
    EXPECT_EQ(PaintedBox(ArrowDrawnInto(QSize(14, 12), QRect(0, 0, 14, 6)), Qt::white), QRect(4, 0, 6, 6));
    // Pictures that fit keep their own size and are never blown up.
    EXPECT_EQ(FittedRect(QSize(9, 9), QRect(0, 0, 14, 20)), QRect(2, 5, 9, 9));
    EXPECT_TRUE(FittedRect(QSize(17, 17), QRect()).isEmpty());
}
