// What users of any desktop editor expect of its window: where it opens,
// its title, recent files, dropped files, zoom, the test page's address and
// Qt's own texts in Chinese.
#include "app/editor_zoom.h"
#include "app/file_drop.h"
#include "app/main_window.h"
#include "app/options_dialog.h"
#include "app/page_highlighter.h"
#include "app/qt_translations.h"
#include "app/window_placement.h"
#include "app/app_settings.h"
#include "project/workspace.h"

#include <QDesktopServices>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtTest>

#include "gui_test_setup.h"
#include "prompted_window.h"
#include "recording_prompter.h"

using namespace qasp;
using namespace qasp::app;

namespace {

using TestWindow = qasp::testing::PromptedWindow;

void CopyDemo(const QTemporaryDir &dir)
{
    const QString demo = QFileInfo(QFINDTESTDATA("../../examples/demo/index.asp")).absolutePath();
    QDir().mkpath(dir.filePath("inc"));
    for (const char *name : {"index.asp", "functions.asp", "layout.asp", "inc/conn.asp"})
        QVERIFY(QFile::copy(demo + "/" + name, dir.filePath(QString(name))));
    // The site's root is this folder, whatever other tests leave around it.
    QFile asa(dir.filePath("global.asa"));
    QVERIFY(asa.open(QIODevice::WriteOnly));
}

QMenu *MenuTitled(MainWindow &w, const QString &title)
{
    for (QAction *a : PartOf<QMenuBar>(w, "menuBar")->actions())
        if (a->menu() && a->text().startsWith(title))
            return a->menu();
    return nullptr;
}

// Receives what the 测试 button hands to the browser.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl &url) { urls << url; }
};

}  // namespace

class WindowBasicsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { PrepareGuiTests(); }
    void init() { UseFreshKeywordStore(); }

    void theWindowOpensAtFourFifthsOfTheScreenAndComesBackOnScreen()
    {
        QCOMPARE(DefaultWindowGeometry(QRect(0, 0, 1280, 900)), QRect(128, 90, 1024, 720));
        QCOMPARE(DefaultWindowGeometry(QRect(1366, 0, 1366, 728)).center(),
                 QRect(1366, 0, 1366, 728).center());
        const QList<QRect> screens{{0, 0, 1280, 900}};
        const QRect onScreen(100, 100, 800, 600);
        QCOMPARE(OnScreenGeometry(onScreen, screens), onScreen);
        // Left on a second screen that is gone, or larger than what is left.
        QCOMPARE(OnScreenGeometry(QRect(2000, 100, 800, 600), screens), QRect(480, 100, 800, 600));
        QCOMPARE(OnScreenGeometry(QRect(-50, -500, 2000, 700), screens), QRect(0, 0, 1280, 700));

        TestWindow w;
        w.placeOnScreen(true);
        QCOMPARE(w.geometry(), DefaultWindowGeometry(w.screen()->availableGeometry()));
        AppSettings().setValue("window/geometry", QRect(5000, 5000, 300, 200));
        w.placeOnScreen(true);
        QVERIFY(w.screen()->availableGeometry().contains(w.geometry()));
    }

    void theTitleNamesTheRootPageAndMarksUnsavedChanges()
    {
        QTemporaryDir dir;
        CopyDemo(dir);
        TestWindow w;
        QVERIFY(w.openProjectFile(dir.filePath("index.asp")));
        QVERIFY(w.windowTitle().startsWith(dir.filePath("index.asp") + "[*] - "));
        QVERIFY(!w.isWindowModified());
        w.workspace().SelectNode(w.tree().FirstTopLevel());
        EditorOf(w)->setFocus();
        QTest::keyClicks(EditorOf(w), "x");
        QVERIFY(w.isWindowModified());
        w.action(ActionId::Save)->trigger();
        QVERIFY(!w.isWindowModified());
    }

    void recentFilesListTheOpenedPagesAndReopenThem()
    {
        QTemporaryDir dir;
        CopyDemo(dir);
        AppSettings().remove("recent");
        TestWindow w;
        QVERIFY(w.openProjectFile(dir.filePath("index.asp")));
        QVERIFY(w.openProjectFile(dir.filePath("layout.asp")));
        auto *recent = PartOf<QMenu>(w, "recentFilesMenu");
        emit recent->aboutToShow();
        QCOMPARE(recent->actions().size(), 2);
        QVERIFY(recent->actions()[0]->text().endsWith("layout.asp"));
        QCOMPARE(recent->actions()[0]->text().left(3), QString("&1 "));
        recent->actions()[1]->trigger();
        QCOMPARE(w.tree().FirstTopLevel()->Record()->SourceFile.filename(), "index.asp");

        // A page gone from the disk is said so and leaves the list.
        QVERIFY(QFile::remove(dir.filePath("layout.asp")));
        emit recent->aboutToShow();
        recent->actions()[1]->trigger();
        QVERIFY(w.prompter.shown.back().find("文件不存在") != std::string::npos);
        emit recent->aboutToShow();
        QCOMPARE(recent->actions().size(), 1);
    }

    void aDroppedPageOpensOtherDropsAreLeftAlone()
    {
        QTemporaryDir dir;
        CopyDemo(dir);
        QMimeData page;
        page.setUrls({QUrl::fromLocalFile(dir.filePath("layout.asp"))});
        QCOMPARE(DroppedPage(&page), dir.filePath("layout.asp"));
        QMimeData text;
        text.setText("Response.Write");
        QVERIFY(DroppedPage(&text).isEmpty());
        QMimeData picture;
        picture.setUrls({QUrl::fromLocalFile(dir.filePath("logo.png"))});
        QVERIFY(DroppedPage(&picture).isEmpty());

        TestWindow w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QWidget *target = EditorOf(w)->viewport();
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &page, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &page, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
        QVERIFY(drop.isAccepted());
        QTRY_VERIFY(w.tree().FirstTopLevel());
        QCOMPARE(w.tree().FirstTopLevel()->Record()->SourceFile.filename(), "layout.asp");
    }

    void zoomKeysChangeTheEditorsSizeAndCtrl0GoesBack()
    {
        TestWindow w;
        QPlainTextEdit *editor = EditorOf(w);
        const int base = editor->fontInfo().pixelSize();
        w.editorZoom().zoomInAction()->trigger();
        w.editorZoom().zoomInAction()->trigger();
        QCOMPARE(editor->fontInfo().pixelSize(), base + 2);
        w.editorZoom().zoomOutAction()->trigger();
        QCOMPARE(editor->fontInfo().pixelSize(), base + 1);
        w.editorZoom().resetAction()->trigger();
        QCOMPARE(editor->fontInfo().pixelSize(), base);
        QCOMPARE(w.editorZoom().zoomInAction()->shortcut(), QKeySequence("Ctrl+="));
        QVERIFY(MenuTitled(w, "查看")->actions().contains(w.editorZoom().resetAction()));
    }

    void theTestButtonOpensTheSelectedPageBelowTheSiteRoot()
    {
        QTemporaryDir dir;
        CopyDemo(dir);
        TestWindow w;
        QVERIFY(w.openProjectFile(dir.filePath("index.asp")));
        auto *address = PartOf<QLineEdit>(w, "urlEdit");
        address->setText("http://127.0.0.1:8010/shop");
        QCOMPARE(w.testPageAddress(), QUrl("http://127.0.0.1:8010/shop/index.asp"));
        for (TreeNode *n = w.tree().FirstTopLevel(); n; n = w.tree().NextInPreOrder(n))
            if (n->DisplayText() == "inc/conn.asp" || n->DisplayText() == "conn.asp")
                w.workspace().SelectNode(n);
        QCOMPARE(w.testPageAddress(), QUrl("http://127.0.0.1:8010/shop/inc/conn.asp"));

        UrlCatcher catcher;
        QDesktopServices::setUrlHandler("http", &catcher, "open");
        qputenv("BROWSER", "test");
        QTest::mouseClick(PartOf<QPushButton>(w, "testButton"), Qt::LeftButton);
        QDesktopServices::unsetUrlHandler("http");
        QCOMPARE(catcher.urls, QList<QUrl>{QUrl("http://127.0.0.1:8010/shop/inc/conn.asp")});
        QVERIFY(w.prompter.shown.empty());
    }

    void statusTextsShowWhollyOnHover()
    {
        TestWindow w;
        const std::string longText(300, 'x');
        w.SetStatusText(0, longText);
        QCOMPARE(StatusPanelOf(w, 0)->toolTip(), QString::fromStdString(longText));
    }

    void optionsAreKeptInTheSettingsAndApplied()
    {
        TestWindow w;
        QPlainTextEdit *editor = EditorOf(w);
        QTimer::singleShot(0, [] {
            auto *dialog = qobject_cast<OptionsDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            // QASP_OPTIONS_PICTURE=file.png keeps a picture of the dialog to look at.
            if (const QString picture = qEnvironmentVariable("QASP_OPTIONS_PICTURE"); !picture.isEmpty())
                dialog->grab().save(picture);
            PartOf<QSpinBox>(*dialog, "sizeBox")->setValue(16);
            PartOf<QSpinBox>(*dialog, "tabBox")->setValue(4);
            PartOf<QComboBox>(*dialog, "saveBox")->setCurrentIndex(1);
            PartOf<QComboBox>(*dialog, "encodingBox")->setCurrentIndex(1);
            dialog->accept();
        });
        w.showOptions();
        QCOMPARE(editor->fontInfo().pixelSize(), 16);
        QCOMPARE(qRound(editor->tabStopDistance()),
                 qRound(4 * QFontMetricsF(editor->font()).averageCharWidth()));
        QVERIFY(w.workspace().SaveWritesLayout);
        QCOMPARE(w.workspace().NewPageEncoding, TextEncoding::Utf8);

        // A colour set in the file is shown by the next window, and zoom
        // steps are taken from the chosen size.
        AppSettings().setValue("colours/keyword", "#123456");
        TestWindow next;
        QCOMPARE(EditorOf(next)->fontInfo().pixelSize(), 16);
        next.editorZoom().zoomInAction()->trigger();
        QCOMPARE(EditorOf(next)->fontInfo().pixelSize(), 17);
        QCOMPARE(next.Memo().Highlighter()->Scheme().Of(ColourCategory::Keyword), ColourValue(0x563412));
        AppSettings().remove("editor");
        AppSettings().remove("colours");
    }

    void treeLabelsShowTheirUnderscores()
    {
        TestWindow w;
        TreeNode *doc = w.tree().AddTopLevel("index.asp");
        w.tree().AttachRecord(doc, {"", ""});
        TreeNode *fn = w.tree().AddChild(doc, "SHOW_LIST");  // nothing else goes below the line
        w.tree().SetKind(fn, NodeKind::Procedure);
        w.tree().AttachRecord(fn, {"Sub SHOW_LIST\r\nEnd Sub", ""});
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto *view = PartOf<QTreeView>(w, "projectTree");
        view->expandAll();
        const QModelIndex index = view->model()->index(0, 0, view->model()->index(0, 0));
        const QRect row = view->visualRect(index);
        const QImage picture = view->viewport()->grab().toImage();
        if (const QString file = qEnvironmentVariable("QASP_TREE_PICTURE"); !file.isEmpty())
            picture.save(file);
        // The underscore is the lowest dark stroke of the label: some dark
        // pixel lies in the row's lowest quarter, right of the icon.
        bool underscore = false;
        const QColor ground = picture.pixelColor(row.right() - 2, row.center().y());
        for (int y = row.bottom() - row.height() / 4; y <= row.bottom() && !underscore; ++y)
            for (int x = row.left() + 20; x < row.right() && !underscore; ++x)
                underscore = qAbs(picture.pixelColor(x, y).lightness() - ground.lightness()) > 100;
        QVERIFY2(underscore, "no stroke in the lowest quarter of the label's row");
    }

    void qtsOwnButtonsSpeakChinese()
    {
        if (!InstallQtTranslations(*QCoreApplication::instance()))
            QSKIP("Qt's zh_CN translations are not installed (./x deps installs them)");
        QMessageBox box(QMessageBox::Question, "t", "t", QMessageBox::Yes | QMessageBox::No);
        QVERIFY(box.button(QMessageBox::Yes)->text().contains("是"));
    }
};

QTEST_MAIN(WindowBasicsTest)
#include "window_basics_test.moc"
