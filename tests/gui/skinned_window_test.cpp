// Skinned windows on real widgets (offscreen): a window keeps its client
// size inside the skin's frame, gives everything back when skinning goes
// off, answers the skin query, and is moved, maximised and closed from its
// frame; system dialogs and popup menus follow their rules.
#include "skin_test_setup.h"

#include "skin/data/skin_data.h"
#include "skin/windows/skin_events.h"
#include "skin/windows/skin_marks.h"
#include "skin/windows/skin_manager.h"
#include "skin/windows/skinned_window.h"
#include "skin/windows/skinned_popup_menu.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QTreeWidget>
#include <QScreen>
#include <QTest>
#include <QVBoxLayout>

using namespace qasp;
using namespace qasp::skin;

namespace {

// A plain form with some content, at a known client size.
struct Form : QWidget {
    Form()
    {
        auto *layout = new QVBoxLayout(this);
        layout->addWidget(new QLabel("内容"));
        setContentsMargins(3, 3, 3, 3);
        resize(300, 200);
    }
};

}  // namespace

class SkinnedWindowTest : public QObject {
    Q_OBJECT

    SkinData *data_ = nullptr;

    void RunAction(SkinAction action) { RunSkinAction(data_, action); }

private slots:
    void initTestCase()
    {
        data_ = StartSkinning(this);
        QVERIFY(SkinManager::instance());
        QVERIFY(SkinManager::instance()->isActive());
    }

    void init()
    {
        if (!SkinManager::instance()->isActive())
            RunAction(SkinAction::Activate);
    }

    void windowKeepsItsClientSizeInsideTheFrame()
    {
        Form w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTRY_VERIFY(IsReady(&w));
        SkinnedWindow *painter = PainterOf(&w);
        QCOMPARE(painter->metrics().CaptionHeight, 26);
        QCOMPARE(w.size(), QSize(300 + 8, 200 + 30));
        QCOMPARE(w.contentsRect().size(), QSize(300 - 6, 200 - 6));
        QCOMPARE(w.contentsMargins(), QMargins(3 + 4, 3 + 26, 3 + 4, 3 + 4));
        QVERIFY(w.windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(!w.mask().isEmpty());
        QCOMPARE(w.palette().color(QPalette::Window), ToQColor(data_->Model().Colours.ButtonFace));
        QVERIFY(AnswersSkinQuery(&w));
        QCOMPARE(painter->parent(), &w);  // a form owns its painter

        // A second request for the same window does nothing.
        QVERIFY(!SkinManager::instance()->skinWindow(&w));
        QCOMPARE(SkinManager::instance()->lastVerdict(), WindowRuleTest::Query);
    }

    void turningSkinningOffGivesTheWindowBack()
    {
        Form w;
        QPalette own = w.palette();
        own.setColor(QPalette::Window, Qt::darkCyan);
        w.setPalette(own);
        w.show();
        QTRY_VERIFY(IsReady(&w));
        QPointer<SkinnedWindow> painter = PainterOf(&w);

        RunAction(SkinAction::Deactivate);
        QVERIFY(!painter);
        QVERIFY(!AnswersSkinQuery(&w));
        QCOMPARE(w.size(), QSize(300, 200));
        QCOMPARE(w.contentsMargins(), QMargins(3, 3, 3, 3));
        QVERIFY(!(w.windowFlags() & Qt::FramelessWindowHint));
        QVERIFY(w.mask().isEmpty());
        QVERIFY(!w.hasMouseTracking());
        QCOMPARE(w.palette().color(QPalette::Window), QColor(Qt::darkCyan));

        // Switched on again, every shown form is skinned at once.
        RunAction(SkinAction::Activate);
        QTRY_VERIFY(IsReady(&w));
        QCOMPARE(w.size(), QSize(308, 230));
    }

    void formMarkedNoSkinStaysPlain()
    {
        Form w;
        MarkNoSkin(&w);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(!PainterOf(&w));
        QCOMPARE(SkinManager::instance()->lastVerdict(), WindowRuleTest::NoSkinMark);
        QCOMPARE(w.size(), QSize(300, 200));
    }

    void requestsBeforeTheFirstWindowOnlySetTheFlag()
    {
        SkinManager fresh;  // not the process's manager: nothing has run here
        fresh.requestAction(SkinAction::Activate, 250);
        QVERIFY(fresh.isActive());
        QVERIFY(!fresh.hasPendingAction());
        fresh.requestAction(SkinAction::Deactivate, 250);
        QVERIFY(!fresh.isActive());
        fresh.setState(SkinManagerState::Running);
        fresh.requestAction(SkinAction::Activate, 250);
        QVERIFY(fresh.hasPendingAction());
        QCOMPARE(fresh.pendingActionDelay(), 250);
        QVERIFY(!fresh.isActive());  // the timer will do it
    }

    void messageBoxWearsADialogFrame()
    {
        QMessageBox box(QMessageBox::Question, "一个标题相当长的问题框，它的标题要完整显示", "保存吗？",
                        QMessageBox::Yes | QMessageBox::No);
        box.show();
        QTRY_VERIFY(IsReady(&box));
        SkinnedWindow *painter = PainterOf(&box);
        QVERIFY(painter->isSystemDialog());
        QCOMPARE(painter->frameKind(), int(kDialogFrame));
        QCOMPARE(painter->parent(), nullptr);
        QCOMPARE(box.contentsMargins().top(), 26);
        // Widened so that the whole caption shows.
        const SkinTitle &title = data_->Model().Title;
        const int text = QFontMetrics(painter->framePainter().captionFont())
                             .horizontalAdvance(painter->framePainter().decoratedCaption(box.windowTitle()));
        QTRY_VERIFY(box.width() >= title.Margins.Left + text + title.Margins.Right);
        // Dialogs show no icon and no maximise button.
        box.grab();
        for (const CaptionButton &button : painter->framePainter().buttons())
            if (button.isIcon() || button.action() == 1)
                QVERIFY(!button.isVisible());
    }

    void popupMenusFollowTheirGate()
    {
        SkinManager *manager = SkinManager::instance();
        QMenu menu;
        menu.addAction("一");
        menu.popup(QPoint(20, 20));
        QTRY_VERIFY(menu.isVisible());
        QCOMPARE(manager->skinnedPopupCount(), 1);
        QCOMPARE(manager->skinnedPopup(&menu)->kind(), int(kContextMenu));
        QVERIFY(AnswersSkinQuery(&menu));
        menu.hide();
        QVERIFY(manager->skinnedPopupCount() == 0);
        QCOMPARE(manager->nextPopupKind(), int(kContextMenu));

        const uint32_t controls = data_->SkinControls;
        data_->SkinControls &= ~(1u << xcPopupMenu);
        menu.popup(QPoint(20, 20));
        QTRY_VERIFY(menu.isVisible());
        QVERIFY(manager->skinnedPopupCount() == 0);
        menu.hide();
        data_->SkinControls = controls;
    }

    void theWindowMenuIsSkinnedAsOne()
    {
        Form w;
        w.show();
        QTRY_VERIFY(IsReady(&w));
        SkinManager *manager = SkinManager::instance();
        QTest::keyClick(&w, Qt::Key_Space, Qt::AltModifier);
        QMenu *menu = nullptr;
        QTRY_VERIFY((menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())));
        QVERIFY(IsWindowMenu(menu));
        QVERIFY(manager->skinnedPopup(menu));
        QCOMPARE(manager->skinnedPopup(menu)->kind(), int(kSystemMenuKind));
        QCOMPARE(manager->nextPopupKind(), int(kContextMenu));  // the mark decided, not the manager's state
        menu->hide();
        QTRY_COMPARE(manager->skinnedPopupCount(), 0);

        // Its own gate: without it the window menu stays plain, a context menu does not.
        const uint32_t controls = data_->SkinControls;
        data_->SkinControls &= ~(1u << xcSystemMenu);
        QTest::keyClick(&w, Qt::Key_Space, Qt::AltModifier);
        QTRY_VERIFY((menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())));
        QVERIFY(!manager->skinnedPopup(menu));
        menu->hide();
        QMenu context;
        context.addAction("一");
        context.popup(QPoint(20, 20));
        QTRY_VERIFY(context.isVisible());
        QVERIFY(manager->skinnedPopup(&context));
        context.hide();
        data_->SkinControls = controls;
    }

    void closeButtonClosesTheWindow()
    {
        Form w;
        w.show();
        QTRY_VERIFY(IsReady(&w));
        w.grab();  // lays the caption out
        SkinnedWindow *painter = PainterOf(&w);
        QRect close;
        for (const CaptionButton &button : painter->framePainter().buttons())
            if (button.action() == 0 && button.isVisible())
                close = button.bounds();
        QVERIFY(!close.isEmpty());
        QCOMPARE(close.right(), w.width() - 24 + close.width() - 1);
        QTest::mouseClick(&w, Qt::LeftButton, {}, close.center());
        QTRY_VERIFY(!w.isVisible());
    }

    void windowMenuOpensWithAltSpaceFromTheTreeAndMaximises()
    {
        QWidget w;
        auto *layout = new QVBoxLayout(&w);
        // A tree takes a space for its keyboard search, Alt or not.
        auto *edit = new QTreeWidget;
        edit->addTopLevelItem(new QTreeWidgetItem(QStringList{"index.asp"}));
        layout->addWidget(edit);
        w.setGeometry(120, 110, 320, 220);
        w.show();
        QTRY_VERIFY(IsReady(&w));
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        edit->setFocus();
        const QRect normal = w.geometry();
        QTest::keyClick(edit, Qt::Key_Space, Qt::AltModifier);
        QMenu *menu = nullptr;
        QTRY_VERIFY((menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())));
        QVERIFY(IsWindowMenu(menu));
        // Its 最大化 fills the screen's free area; restoring puts the window back.
        menu->actions().at(4)->trigger();
        menu->hide();
        QTRY_VERIFY(w.isMaximized());
        QTRY_COMPARE(w.geometry(), w.screen()->availableGeometry());
        QTest::mouseDClick(&w, Qt::LeftButton, {}, QPoint(120, 12));  // the caption restores
        QTRY_VERIFY(!w.isMaximized());
        QTRY_COMPARE(w.geometry(), normal);
    }

    void theIconClickedTwiceClosesTheWindowThroughItsMenu()
    {
        Form w;
        w.show();
        QTRY_VERIFY(IsReady(&w));
        w.grab();  // lays the caption out
        QRect icon;
        for (const CaptionButton &button : PainterOf(&w)->framePainter().buttons())
            if (button.action() == 3 && button.isVisible())
                icon = button.bounds();
        QVERIFY(!icon.isEmpty());
        QTest::mouseClick(&w, Qt::LeftButton, {}, icon.center());
        QMenu *menu = nullptr;
        QTRY_VERIFY((menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())));
        // The open menu has the pointer: the second click arrives there.
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->mapFromGlobal(w.mapToGlobal(icon.center())));
        QTRY_VERIFY(!w.isVisible());
        QTRY_VERIFY(!menu->isVisible());
    }

    void captionDragsTheWindowUnlessMaximised()
    {
        Form w;
        w.move(100, 100);
        w.show();
        QTRY_VERIFY(IsReady(&w));
        const QPoint start = w.pos();
        QTest::mousePress(&w, Qt::LeftButton, {}, QPoint(120, 12));
        QTest::mouseMove(&w, QPoint(150, 32));
        QTest::mouseRelease(&w, Qt::LeftButton, {}, QPoint(150, 32));
        QTRY_COMPARE(w.pos(), start + QPoint(30, 20));

        // A double click on the caption maximises; a maximised caption does
        // not drag; another double click restores.
        QTest::mouseDClick(&w, Qt::LeftButton, {}, QPoint(120, 12));
        QTRY_VERIFY(w.isMaximized());
        const QPoint maximised = w.pos();
        QTest::mousePress(&w, Qt::LeftButton, {}, QPoint(120, 12));
        QTest::mouseMove(&w, QPoint(160, 40));
        QTest::mouseRelease(&w, Qt::LeftButton, {}, QPoint(160, 40));
        QCOMPARE(w.pos(), maximised);
        QTest::mouseDClick(&w, Qt::LeftButton, {}, QPoint(120, 12));
        QTRY_VERIFY(!w.isMaximized());
    }

    void bottomRightCornerSizesTheWindow()
    {
        Form w;
        w.show();
        QTRY_VERIFY(IsReady(&w));
        const QSize start = w.size();
        const QPoint corner(w.width() - 2, w.height() - 2);
        QTest::mousePress(&w, Qt::LeftButton, {}, corner);
        QTest::mouseMove(&w, corner + QPoint(40, 25));
        QTest::mouseRelease(&w, Qt::LeftButton, {}, corner + QPoint(40, 25));
        QTRY_COMPARE(w.size(), start + QSize(40, 25));
        QTRY_COMPARE(w.mask().boundingRect().size(), w.size());
    }

    void clicksInTheContentAreNotTheFrames()
    {
        Form w;
        w.show();
        QTRY_VERIFY(IsReady(&w));
        const QPoint start = w.pos();
        // Inside the client area, beside the label: the frame lets it pass.
        QTest::mousePress(&w, Qt::LeftButton, {}, QPoint(w.width() / 2, w.height() - 8));
        QTest::mouseMove(&w, QPoint(w.width() / 2 + 30, w.height() + 10));
        QTest::mouseRelease(&w, Qt::LeftButton, {}, QPoint(w.width() / 2 + 30, w.height() + 10));
        QCOMPARE(w.pos(), start);
        QCOMPARE(w.size(), QSize(308, 230));
    }

    void changingTheSkinKeepsTheClientSize()
    {
        Form w;
        w.show();
        QTRY_VERIFY(IsReady(&w));
        const QRect client = w.contentsRect();
        data_->SetSkinFile(QASP_SKIN_DIR "/quillmere-dusk.skin");
        QVERIFY(!data_->NoSkin());
        SkinManager *manager = SkinManager::instance();
        QTRY_VERIFY(!manager->hasPendingAction());
        SkinnedWindow *painter = PainterOf(&w);
        QCOMPARE(w.contentsRect().size(), client.size());
        QCOMPARE(w.size(), client.size() + QSize(6, 6) + painter->metrics().Extra());
        QVERIFY(!painter->framePainter().buttons().empty());

        data_->UseSkinStream(app::BuiltinSkinStream());
        QTRY_VERIFY(!manager->hasPendingAction());
        QCOMPARE(w.size(), QSize(308, 230));
    }

    void aSkinChangeShowsNoWindowHalfChanged()
    {
        Form first, second;
        first.show();
        second.show();
        QTRY_VERIFY(IsReady(&first) && IsReady(&second));
        SkinManager *manager = SkinManager::instance();
        // From loading the new skin until every window has it, none paints.
        data_->SetSkinFile(QASP_SKIN_DIR "/quillmere-dusk.skin");
        QVERIFY(manager->hasPendingAction());
        QVERIFY(!first.updatesEnabled() && !second.updatesEnabled());
        QTRY_VERIFY(!manager->hasPendingAction());
        QVERIFY(first.updatesEnabled() && second.updatesEnabled());

        data_->UseSkinStream(app::BuiltinSkinStream());
        QVERIFY(!first.updatesEnabled());
        QTRY_VERIFY(!manager->hasPendingAction());
        QVERIFY(first.updatesEnabled() && second.updatesEnabled());
    }
};

QTEST_MAIN(SkinnedWindowTest)
#include "skinned_window_test.moc"
