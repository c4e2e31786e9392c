// Every window the program shows, in the built-in skin and in the dark
// one, painted offscreen as the user would see it: no pixel may be the
// skin's transparent magenta.
#include "app/main_window.h"
#include "app/skin_menu.h"
#include "dialogs/directory_dialog.h"
#include "dialogs/help_window.h"
#include "skin/data/skin_data.h"
#include "skin/windows/skin_manager.h"
#include "skin/windows/skinned_window.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTest>

#include "gui_test_setup.h"

using namespace qasp;

namespace {

bool WearsSkin(QWidget *w)
{
    skin::SkinnedWindow *painter = skin::SkinManager::instance()->skinnedWindow(w);
    return painter && painter->state() == skin::SkinnedWindow::State::Ready;
}

// Where the first magenta pixel is, or (-1, -1).
QPoint FirstMagenta(const QImage &picture)
{
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((row[x] & 0xFFFFFF) == 0xFF00FF)
                return {x, y};
    }
    return {-1, -1};
}

}  // namespace

class SkinnedWindowPicturesTest : public QObject {
    Q_OBJECT

    app::MainWindow *window_ = nullptr;
    QString skinName_;

    // A shown window once it wears the skin and has painted.
    QImage pictureOf(QWidget *w)
    {
        if (!QTest::qWaitFor([w] { return w->isVisible() && WearsSkin(w); }, 3000))
            return {};
        QTest::qWait(50);
        return w->grab().toImage();
    }

    void checkNoMagenta(const QString &what, const QImage &picture)
    {
        QVERIFY2(!picture.isNull(), qPrintable(skinName_ + ": " + what + " never wore the skin"));
        // QASP_KEEP_PICTURES=DIR keeps them to look at.
        if (const QString keep = qEnvironmentVariable("QASP_KEEP_PICTURES"); !keep.isEmpty())
            picture.save(QString("%1/%2 - %3.png").arg(keep, skinName_, what));
        const QPoint at = FirstMagenta(picture);
        QVERIFY2(
            at.x() < 0,
            qPrintable(
                QString("%1: %2 shows magenta at (%3, %4)").arg(skinName_, what).arg(at.x()).arg(at.y())));
    }

    // A box brought up without blocking, pictured, and closed.
    void checkBox(const QString &what, QDialog *box)
    {
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
        checkNoMagenta(what, pictureOf(box));
        box->close();
    }

    void checkEveryWindow()
    {
        checkNoMagenta("the main window", pictureOf(window_));

        QMenu *first = window_->menuBar()->actions().first()->menu();
        first->popup(window_->mapToGlobal(QPoint(40, 60)));
        QVERIFY(QTest::qWaitForWindowExposed(first));
        QTest::qWait(50);
        checkNoMagenta("a drop-down menu", first->grab().toImage());
        first->hide();

        window_->ShowHelp();
        checkNoMagenta("the help window", pictureOf(window_->helpWindow()));
        window_->helpWindow()->close();

        window_->directoryDialog()->show();
        checkNoMagenta("the directory chooser", pictureOf(window_->directoryDialog()));
        window_->directoryDialog()->hide();

        auto *files = new QFileDialog(window_, "打开", QDir::currentPath(), "ASP文档 (*.asp);;所有文档 (*)");
        files->setOption(QFileDialog::DontUseNativeDialog);
        checkBox("the file dialog", files);

        checkBox("a message box", new QMessageBox(QMessageBox::Information, "提示", "工程已经保存。",
                                                  QMessageBox::Ok, window_));
        checkBox("a question box",
                 new QMessageBox(QMessageBox::Question, "保存提示", "工程已经修改，要保存吗?",
                                 QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, window_));
        auto *input = new QInputDialog(window_);
        input->setWindowTitle("查找");
        input->setLabelText("输入你查找文字内容:");
        input->setTextValue("Response");
        checkBox("an input box", input);
    }

private slots:
    void initTestCase()
    {
        PrepareGuiTests();
        window_ = new app::MainWindow;
        window_->resize(900, 640);
        window_->show();
        QVERIFY(window_->openProjectFile(QASP_DEMO_ROOT));
    }

    void cleanupTestCase() { delete window_; }

    void builtinSkinShowsNoMagenta()
    {
        skinName_ = "built-in skin";
        checkEveryWindow();
    }

    void darkSkinShowsNoMagenta()
    {
        skinName_ = "dark skin";
        QVERIFY(
            PartOf<app::SkinMenu>(*window_, "skinMenu")->useSkinFile(QASP_SKIN_DIR "/quillmere-dusk.skin"));
        QTest::qWait(400);  // the windows take the new skin on the manager's timer
        checkEveryWindow();
    }
};

QTEST_MAIN(SkinnedWindowPicturesTest)
#include "skinned_window_pictures_test.moc"
