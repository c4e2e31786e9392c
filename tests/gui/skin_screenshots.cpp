// Pictures of the skinned windows on a real X server (run under xvfb-run):
// the main window active and inactive, the help window, a question box and
// an input box. Each picture is taken from the screen, so it shows the
// window's real shape; the program checks that the shape cut from the
// skin's transparent border pixels lets the screen behind show through.
//
//   skin_screenshots OUTPUT_DIR ROOT.asp [SECOND.skin]
#include "app/icons.h"
#include "app/interface_font.h"
#include "app/main_window.h"
#include "app/qt_prompter.h"
#include "dialogs/directory_dialog.h"
#include "dialogs/help_window.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_draw.h"
#include "skin/windows/skin_manager.h"
#include "skin/windows/skinned_window.h"

#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <cstdio>

#include "gui_test_setup.h"

using namespace qasp;

namespace {

int failures = 0;

void Fail(const QString &what)
{
    std::fprintf(stderr, "skin_screenshots: %s\n", qPrintable(what));
    ++failures;
}

// Magenta is the skin's transparent colour: no picture may show it.
void CheckNoMagenta(const QImage &shot, const QString &name)
{
    const QImage image = shot.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((row[x] & 0xFFFFFF) == 0xFF00FF) {
                Fail(QString("%1: magenta at (%2, %3)").arg(name).arg(x).arg(y));
                return;
            }
    }
}

// The caption's colour in the middle of the Top border's state image.
QColor CaptionColour(const skin::SkinData &data, bool active)
{
    const skin::SkinBorder &top = data.Model().Top;
    const QImage state = skin::StateImage(top.Bitmap, top.FrameCount, active ? 1 : 2, true);
    return state.pixelColor(state.width() / 2, state.height() / 2);
}

// The window as the screen shows it, saved as NAME.png, and its shape and
// caption checked. The window is moved where nothing else lies behind it.
void Shoot(QWidget *w, const QString &dir, const QString &name, QPoint at)
{
    w->move(at);
    QTest::qWait(300);  // moved and painted
    const QRect frame = w->frameGeometry();
    const QImage shot =
        w->screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height()).toImage();
    if (!shot.save(dir + "/" + name + ".png"))
        Fail("cannot write " + name + ".png");
    CheckNoMagenta(shot, name);
    skin::SkinnedWindow *painter = skin::SkinManager::instance()->skinnedWindow(w);
    if (!painter) {
        Fail(name + ": the window wears no skin");
        return;
    }
    if (w->size() != shot.size())
        Fail(name + ": picture and window differ in size");
    // Outside the window's shape the screen behind (black) shows; inside,
    // the caption is painted.
    const QColor background = shot.pixelColor(0, 0);
    if (painter->framePainter().shape().contains(QPoint(0, 0)) || background != QColor(Qt::black))
        Fail(name + ": the top-left corner is not cut from the window");
    // Along the caption's middle row, between the icon and the buttons, the
    // title's letters cover some pixels but never all.
    const QColor look = CaptionColour(*painter->skinData(), painter->looksActive());
    bool shows = false;
    for (int x = frame.width() / 3; x < frame.width() - 120 && !shows; ++x) {
        const QPoint caption(x, painter->metrics().CaptionHeight / 2);
        shows = painter->framePainter().shape().contains(caption) && shot.pixelColor(caption) == look;
    }
    if (!shows)
        Fail(name + ": the caption does not show the skin's "
             + (painter->looksActive() ? "active" : "inactive") + " look");
    std::printf("%s.png: %dx%d, %s\n", qPrintable(name), shot.width(), shot.height(),
                painter->looksActive() ? "active" : "inactive");
}

// The main window with its first drop-down open; the popup's corner shows
// the skin's menu background.
void ShootMenu(app::MainWindow &window, const QString &dir, const QString &name)
{
    window.activateWindow();
    (void)QTest::qWaitForWindowActive(&window);
    QAction *first = window.menuBar()->actions().first();
    window.menuBar()->setActiveAction(first);
    QTest::qWait(300);
    QMenu *menu = first->menu();
    if (!menu->isVisible()) {
        Fail(name + ": the drop-down did not open");
        return;
    }
    const QRect area = window.frameGeometry().united(menu->geometry());
    const QImage shot =
        window.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height()).toImage();
    shot.save(dir + "/" + name + ".png");
    CheckNoMagenta(shot, name);
    const skin::SkinElement *background =
        skin::SkinManager::instance()->mainSkinData()->Model().MenuBackground.get();
    const QPoint corner = menu->geometry().topLeft() - area.topLeft() + QPoint(1, 1);
    if (!background || shot.pixelColor(corner) != skin::StateImage(background->Bitmap, 1, 1).pixelColor(1, 1))
        Fail(name + ": the drop-down does not wear the skin's menu background");
    std::printf("%s.png: %dx%d\n", qPrintable(name), shot.width(), shot.height());
    menu->hide();
    window.menuBar()->setActiveAction(nullptr);
    QTest::qWait(100);
}

// Takes the picture of the modal box that `open` brings up, then closes it.
void ShootModal(const QString &dir, const QString &name, const std::function<void()> &open)
{
    QTimer::singleShot(600, [dir, name] {
        QWidget *box = QApplication::activeModalWidget();
        if (!box) {
            Fail(name + ": no box came up");
            return;
        }
        Shoot(box, dir, name, QPoint(800, 500));
        box->close();
    });
    open();
}

}  // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: skin_screenshots OUTPUT_DIR ROOT.asp\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(dir);
    app::InstallFontSubstitutions();
    QApplication::setFont(app::InterfaceFont());
    QApplication::setWindowIcon(app::ProgramIcon());

    app::MainWindow window;
    window.show();
    window.openProjectFile(QString::fromLocal8Bit(argv[2]));
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window))
        Fail("the main window never became active");
    Shoot(&window, dir, "main-active", QPoint(20, 20));

    QWidget other;
    other.setWindowTitle("另一个窗口");
    other.setGeometry(800, 40, 200, 100);
    other.show();
    other.activateWindow();
    (void)QTest::qWaitForWindowActive(&other);
    QTest::qWait(100);
    Shoot(&window, dir, "main-inactive", QPoint(20, 20));
    other.close();

    window.activateWindow();
    window.ShowHelp();
    (void)QTest::qWaitForWindowActive(window.helpWindow());
    Shoot(window.helpWindow(), dir, "help-window", QPoint(800, 40));
    window.helpWindow()->close();

    window.directoryDialog()->show();
    (void)QTest::qWaitForWindowExposed(window.directoryDialog());
    Shoot(window.directoryDialog(), dir, "directory-chooser", QPoint(800, 40));
    window.directoryDialog()->hide();

    app::QtPrompter prompter(&window);
    ShootModal(dir, "question-box", [&] {
        prompter.Question("保存提示", "工程已经修改，要保存吗?", QuestionButtons::YesNoCancel);
    });
    ShootModal(dir, "input-box", [&] {
        prompter.InputBox("查找", "输入你查找文字内容,下次可用F3继续!\u3000\u3000\u3000", "Response");
    });

    // No window manager runs here: a double click on the caption must still
    // fill the screen's free area, and another put the window back.
    {
        const QRect normal = window.geometry();
        const QPoint caption(window.width() / 2, 10);
        QTest::mouseDClick(&window, Qt::LeftButton, {}, caption);
        QTest::qWait(400);
        skin::SkinnedWindow *frame = skin::SkinManager::instance()->skinnedWindow(&window);
        if (!frame->looksMaximised() || window.geometry() != window.screen()->availableGeometry())
            Fail(QString("the maximised window does not fill the screen (%1, %2,%3 %4x%5)")
                     .arg(frame->looksMaximised() ? "maximised" : "not maximised")
                     .arg(window.x())
                     .arg(window.y())
                     .arg(window.width())
                     .arg(window.height()));
        else
            Shoot(&window, dir, "main-maximised", window.pos());
        QTest::mouseDClick(&window, Qt::LeftButton, {}, caption);
        QTest::qWait(400);
        if (frame->looksMaximised() || window.geometry() != normal)
            Fail("the restored window is not where it was");
    }

    ShootMenu(window, dir, "main-menu-open");
    // The completion list, as the user types a name.
    window.activateWindow();
    (void)QTest::qWaitForWindowActive(&window);
    QPlainTextEdit *editor = EditorOf(window);
    editor->setFocus();
    editor->moveCursor(QTextCursor::End);
    QTest::keyClick(editor, Qt::Key_Return);
    QTest::keyClicks(editor, "resp");
    if (!PartOf<QListWidget>(window, "completionList")->isVisible())
        Fail("the completion list did not open");
    Shoot(&window, dir, "main-completion", QPoint(20, 20));
    QTest::keyClick(editor, Qt::Key_Escape);

    // The same with the second skin.
    if (argc > 3) {
        skin::SkinData *skinData = PartOf<skin::SkinData>(window, "skinData");
        skinData->SetSkinFile(QString::fromLocal8Bit(argv[3]));
        QTest::qWait(800);
        if (skinData->NoSkin())
            Fail("the second skin did not load");
        Shoot(&window, dir, "dusk-main", QPoint(20, 20));
        ShootMenu(window, dir, "dusk-menu-open");
        ShootModal(dir, "dusk-question-box", [&] {
            prompter.Question("删除提示", "你确定要删除这个结点吗?", QuestionButtons::YesNoCancel);
        });
        window.directoryDialog()->show();
        (void)QTest::qWaitForWindowExposed(window.directoryDialog());
        Shoot(window.directoryDialog(), dir, "dusk-directory-chooser", QPoint(800, 40));
        window.directoryDialog()->hide();
    }
    return failures == 0 ? 0 : 1;
}
