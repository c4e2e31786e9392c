// SkinData: its properties after creation, loading a stream, and what it
// asks of the skin manager.
#include "skin/data/lzh.h"
#include "skin/data/required_elements.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_manager_link.h"
#include "skin/data/skin_reader.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qasp::skin;

namespace {

// Records what the component asks of the manager.
class RecordingManager : public SkinManagerLink {
public:
    std::vector<std::string> calls;
    SkinManagerState runState = SkinManagerState::NotStarted;
    bool active = false;

    void addSkinData(SkinData *) override { calls.emplace_back("add"); }
    void removeSkinData(SkinData *) override { calls.emplace_back("remove"); }
    void installHook() override { calls.emplace_back("hook"); }
    void setPendingSkinData(SkinData *) override { calls.emplace_back("pending"); }
    void requestAction(SkinAction action, int interval) override
    {
        calls.push_back("request " + std::to_string(static_cast<int>(action)) + " "
                        + std::to_string(interval));
    }
    bool skinWindow(QWidget *) override
    {
        calls.emplace_back("window");
        return true;
    }
    void releaseSkinPieces() override { calls.emplace_back("refresh"); }
    bool isActive() const override { return active; }
    void setActive(bool a) override { active = a; }
    SkinManagerState state() const override { return runState; }
    void setState(SkinManagerState s) override { runState = s; }
};

RecordingManager &Manager()
{
    static RecordingManager *manager = [] {
        auto *m = new RecordingManager;
        SkinManagerLink::installFactory([]() -> SkinManagerLink * { return &Manager(); });
        return m;
    }();
    return *manager;
}

std::string ShippedSkin(const char *name = "quillmere-light.skin")
{
    QFile file(QString(QASP_SKIN_DIR) + "/" + name);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll().toStdString();
}

}  // namespace

TEST(SkinDataComponent, ValuesAfterCreation)
{
    SkinData data;
    EXPECT_FALSE(data.Active());
    EXPECT_TRUE(data.NoSkin());
    EXPECT_EQ(data.SkinControls, 0x1FFFFBu);
    EXPECT_EQ(data.Options, 0x48);
    EXPECT_TRUE(data.Skin3rd.isEmpty());
    EXPECT_EQ(data.Skin3rdKind("QPushButton"), "");
    EXPECT_EQ(data.MenuImages().size(), QSize(64, 16));
}

TEST(SkinDataComponent, Skin3rdMapsAnApplicationsOwnClasses)
{
    SkinData data;
    data.Skin3rd = {"CodeView=scrollbar", "ToolDock=Panel", "Ruler=nil"};
    EXPECT_EQ(data.Skin3rdKind("CodeView"), "scrollbar");
    EXPECT_EQ(data.Skin3rdKind("tooldock"), "panel");  // either case, the kind in lower case
    EXPECT_EQ(data.Skin3rdKind("Ruler"), "nil");
    EXPECT_EQ(data.Skin3rdKind("Code"), "");  // whole names only
    EXPECT_EQ(data.Skin3rdKind("CodeViewer"), "");
}

TEST(SkinDataComponent, TheShippedSkinBuildsEveryElement)
{
    SkinData data;
    data.SetSkinStream(ShippedSkin());
    ASSERT_FALSE(data.NoSkin());
    const SkinModel &m = data.Model();
    EXPECT_EQ(m.SkinName, "Quillmere Light");
    for (const auto &[name, e] : m.Elements())
        EXPECT_TRUE(!e->Bitmap.isNull() || name == "Title" || name == "BUTTON.ICON") << name;
    EXPECT_EQ(m.Elements().size(), 6u + 29u + 5u + 3u);  // fixed, slots, the skin's buttons, MDI
    EXPECT_EQ(m.Scrollbar->FrameCount, 23);
    EXPECT_EQ(m.Scrollbar->Bitmap.width() % 23, 0);
    EXPECT_EQ(m.Top.FrameCount, 2);
    EXPECT_EQ(m.Top.Bitmap.height() / 2, 26);  // the caption height
    EXPECT_EQ(m.Buttons.CheckButtonFrame, 4);
    EXPECT_EQ(m.CaptionButtons[0]->FrameCount, 3);
    EXPECT_EQ(m.ComboButton->Style, 2);                      // the combo strip was built
    EXPECT_FALSE(m.CaptionButtons.back()->Bitmap.isNull());  // MDI buttons from [MDICONTROLS]
    // The top border's transparent corners cut the window's shape; the
    // magenta there became transparency as the skin loaded.
    EXPECT_EQ(m.Left.Bitmap.pixelColor(0, 0).alpha(), 0);
}

TEST(SkinDataComponent, AnOldFormatKeepsThePreviousModelAndActivationOff)
{
    SkinData data;
    std::string shown;
    data.ShowMessage = [&shown](const std::string &m) { shown = m; };
    data.SetSkinStream(ShippedSkin());
    data.SetSkinStream(LzhEncode(std::string(16, '\0')));
    EXPECT_TRUE(data.NoSkin());
    EXPECT_EQ(shown, "This is Older Skin File\rPlease update to new version !");
    EXPECT_EQ(data.Model().SkinName, "Quillmere Light");
}

TEST(SkinDataComponent, LoadedRegistersAndAsksForActivation)
{
    RecordingManager &manager = Manager();
    manager.calls.clear();
    {
        SkinData data;
        data.SetSkinStream(ShippedSkin());
        data.SetActive(true);
        EXPECT_TRUE(manager.calls.empty());  // nothing while the form is read
        data.Loaded();
        EXPECT_EQ(manager.calls, (std::vector<std::string>{"add", "hook", "pending", "request 1 250"}));
        EXPECT_FALSE(data.Has(xcMenuItem));  // xcMainMenu is set, so the item painter goes
        EXPECT_TRUE(data.Has(xcSystemMenu));
        manager.calls.clear();
        data.SetActive(true);  // its current value: nothing scheduled
        EXPECT_TRUE(manager.calls.empty());
        data.SetActive(false);
        EXPECT_EQ(manager.calls, (std::vector<std::string>{"pending", "request 2 250"}));
        manager.calls.clear();
    }
    EXPECT_EQ(manager.calls, (std::vector<std::string>{"remove"}));
}

TEST(SkinDataComponent, WithoutASkinActiveIsTurnedOffInLoaded)
{
    Manager().calls.clear();
    SkinData data;
    data.SkinControls &= ~(1u << xcMainMenu);
    data.SetActive(true);
    data.Loaded();
    EXPECT_FALSE(data.Active());
    EXPECT_FALSE(data.Has(xcSystemMenu));  // without xcMainMenu the system menu painter goes
    EXPECT_EQ(Manager().calls, (std::vector<std::string>{"add", "hook"}));
}

TEST(SkinDataComponent, FormSkinQueryRules)
{
    SkinData data;
    bool doSkin = true;
    data.FormSkinQuery("SysMonthCal32", doSkin);
    EXPECT_FALSE(doSkin);
    doSkin = true;
    data.FormSkinQuery("TfrDesigner", doSkin);
    EXPECT_TRUE(doSkin);  // xcFastReport is not set after creation
    data.SkinControls |= 1u << xcFastReport;
    data.FormSkinQuery("TfrDesigner", doSkin);
    EXPECT_FALSE(doSkin);
    data.OnFormSkin = [](QObject *, const QString &, bool &skin) { skin = true; };
    data.FormSkinQuery("SysMonthCal32", doSkin);
    EXPECT_TRUE(doSkin);  // the event alone decides
}

TEST(SkinDataComponent, ASkinFileLoadsAndAMissingOneDoesNothing)
{
    SkinData data;
    data.SetSkinFile(QString(QASP_SKIN_DIR) + "/quillmere-dusk.skin");
    EXPECT_FALSE(data.NoSkin());
    EXPECT_EQ(data.Model().SkinName, "Quillmere Dusk");
    data.SetSkinFile("/no/such.skin");
    EXPECT_TRUE(data.NoSkin());
}

TEST(SkinDataComponent, TheShippedSkinsLackNothingAWindowNeeds)
{
    for (const char *name : {"quillmere-light.skin", "quillmere-dusk.skin"}) {
        SkinData data;
        data.SetSkinStream(ShippedSkin(name));
        ASSERT_FALSE(data.NoSkin()) << name;
        EXPECT_EQ(MissingRequiredElements(data.Model()), std::vector<std::string>{}) << name;
    }
}

TEST(SkinDataComponent, ATruncatedSkinIsRefusedOrComplete)
{
    // A cut stream still decodes to its full size (missing input reads as
    // zero bits), so the container mostly holds together while the
    // description at its end, or pictures before it, are lost.
    const std::string dusk = ShippedSkin("quillmere-dusk.skin");
    std::vector<size_t> lengths = {0, 3, 4, 5, 16, 64, dusk.size() - 64, dusk.size() - 8, dusk.size() - 1};
    for (size_t i = 1; i < 32; ++i)
        lengths.push_back(dusk.size() * i / 32);
    for (const size_t length : lengths) {
        SkinData data;
        data.SetSkinStream(ShippedSkin());
        data.SetSkinStream(dusk.substr(0, length));
        if (data.NoSkin())
            EXPECT_EQ(data.Model().SkinName, "Quillmere Light") << length;  // the previous model stays
        else
            EXPECT_EQ(MissingRequiredElements(data.Model()), std::vector<std::string>{}) << length;
    }
    // Half a skin reads as a container; its model is what refuses it.
    const std::string half = dusk.substr(0, dusk.size() / 2);
    EXPECT_TRUE(TSkinReader().ReadSkin(half));
    SkinData data;
    data.SetSkinStream(half);
    EXPECT_TRUE(data.NoSkin());
}

TEST(SkinDataComponent, AnIncompleteSkinFileIsRefusedLikeAnUnreadableOne)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("half-dusk.skin");
    const std::string dusk = ShippedSkin("quillmere-dusk.skin");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(dusk.data(), static_cast<qint64>(dusk.size() / 2));
    }
    SkinData data;
    data.SetSkinFile(QString(QASP_SKIN_DIR) + "/quillmere-dusk.skin");
    data.SetSkinFile(path);
    EXPECT_TRUE(data.NoSkin());
    EXPECT_EQ(data.Model().SkinName, "Quillmere Dusk");
}
