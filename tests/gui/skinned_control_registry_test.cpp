// The registry of a window's skinned controls, on real widgets that are
// never shown (so no skin manager is involved): what it classifies, that
// it classifies each control once however often it is asked, that a
// control going takes its object out of the list, and that it gives every
// control back.
#include "app/builtin_skin.h"
#include "gui_test_setup.h"
#include "skin/data/skin_data.h"
#include "skin/windows/skin_events.h"
#include "skin/windows/skinned_button.h"
#include "skin/windows/skinned_check_box.h"
#include "skin/windows/skinned_control_registry.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

using namespace qasp;
using namespace qasp::skin;

class SkinnedControlRegistryTest : public QObject {
    Q_OBJECT

    SkinData data_;
    QStringList offered_;  // every control offered to the application's hook

    // A form with a button and an empty panel.
    struct Form : QWidget {
        QPushButton *button = new QPushButton("确定", this);
        QWidget *panel = new QWidget(this);
    };

private slots:
    void initTestCase()
    {
        PrepareGuiTests();
        data_.SetSkinStream(app::BuiltinSkinStream());
        QVERIFY(!data_.NoSkin());
        data_.OnSkinControl = [this](QObject *, SkinData *, QWidget *, QWidget *control, const QString &,
                                     QObject *&) { offered_ << control->objectName(); };
    }

    void init() { offered_.clear(); }

    void everyControlOfTheWindowIsClassified()
    {
        Form form;
        SkinnedControlRegistry registry(&form, false);
        registry.setSkinData(&data_);
        registry.classifyAll();
        QVERIFY(qobject_cast<SkinnedButton *>(registry.find(form.button)));
        QVERIFY(AnswersSkinQuery(form.button));
        QVERIFY(!registry.find(form.panel));  // a plain container, looked into
        QCOMPARE(registry.count(), 1);
    }

    void aControlComingLaterIsClassifiedOnce_data()
    {
        QTest::addColumn<bool>("inPanel");
        QTest::newRow("into the window") << false;
        QTest::newRow("into a panel of it") << true;
    }

    void aControlComingLaterIsClassifiedOnce()
    {
        QFETCH(bool, inPanel);
        Form form;
        SkinnedControlRegistry registry(&form, false);
        registry.setSkinData(&data_);
        registry.classifyAll();

        auto *late = new QCheckBox("新", inPanel ? form.panel : static_cast<QWidget *>(&form));
        late->setObjectName("late");
        QVERIFY(registry.classifyLate(late));
        QVERIFY(qobject_cast<SkinnedCheckBox *>(registry.find(late)));
        QCOMPARE(registry.count(), 2);
        // Asked again (a control is polished more than once), nothing changes.
        QVERIFY(!registry.classifyLate(late));
        QCOMPARE(registry.count(), 2);
        QCOMPARE(offered_.count("late"), 1);
    }

    void aLateContainerIsLookedIntoOnce()
    {
        Form form;
        SkinnedControlRegistry registry(&form, false);
        registry.setSkinData(&data_);
        registry.classifyAll();
        auto *group = new QWidget(&form);
        group->setObjectName("group");
        auto *inside = new QPushButton("里", group);
        inside->setObjectName("inside");
        QVERIFY(registry.classifyLate(group));
        QVERIFY(registry.find(inside));
        QVERIFY(!registry.classifyLate(group));
        QVERIFY(!registry.classifyLate(inside));  // classified with its container
        QCOMPARE(offered_.count("group"), 1);
        QCOMPARE(offered_.count("inside"), 1);
    }

    void aControlOutsideTheClassifiedPartsIsLeftAlone()
    {
        Form form;
        SkinnedControlRegistry registry(&form, false);
        registry.setSkinData(&data_);
        registry.classifyAll();
        // A skinned button's own children were never looked into.
        auto *inButton = new QCheckBox(form.button);
        QVERIFY(!registry.classifyLate(inButton));
        QVERIFY(!registry.find(inButton));
        // Nor is a window.
        QWidget window(&form, Qt::Window);
        QVERIFY(!registry.classifyLate(&window));
    }

    void aDestroyedControlLeavesTheRegistry()
    {
        Form form;
        SkinnedControlRegistry registry(&form, false);
        registry.setSkinData(&data_);
        registry.classifyAll();
        auto *late = new QPushButton("临时", &form);
        registry.classifyLate(late);
        QCOMPARE(registry.count(), 2);
        delete late;
        QCOMPARE(registry.count(), 1);
        delete form.button;
        QCOMPARE(registry.count(), 0);
        // Releasing what is left reaches no freed object.
        registry.release();
        QCOMPARE(registry.count(), 0);
    }

    void releasingGivesEveryControlBack()
    {
        Form form;
        const QPalette before = form.button->palette();
        SkinnedControlRegistry registry(&form, false);
        registry.setSkinData(&data_);
        registry.classifyAll();
        registry.release();
        QCOMPARE(registry.count(), 0);
        QVERIFY(!AnswersSkinQuery(form.button));
        QCOMPARE(form.button->palette(), before);
        // And it may classify again afterwards.
        registry.classifyAll();
        QVERIFY(registry.find(form.button));
        registry.release();
    }

    void controlsMayOutliveTheirRegistry()
    {
        Form form;
        {
            SkinnedControlRegistry registry(&form, false);
            registry.setSkinData(&data_);
            registry.classifyAll();
        }
        // The object still paints its control, and goes with it without
        // reaching the registry.
        QVERIFY(AnswersSkinQuery(form.button));
        delete form.button;
    }

    void aDialogBoxsControlsFollowTheirOwnTable()
    {
        Form form;
        auto *label = new QLabel("说明", &form);
        SkinnedControlRegistry registry(&form, true);
        registry.setSkinData(&data_);
        registry.classifyAll();
        QVERIFY(qobject_cast<SkinnedButton *>(registry.find(form.button)));
        QVERIFY(!registry.find(label));
        QVERIFY(offered_.isEmpty());  // the application chooses only for its own forms
    }
};

QTEST_MAIN(SkinnedControlRegistryTest)
#include "skinned_control_registry_test.moc"
