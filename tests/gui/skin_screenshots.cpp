// Pictures of the skinned windows on a real X server (run under xvfb-run):
// the main window active and inactive, the help window, a question box and
// an input box. Each picture is taken from the screen, so it shows the
// window's real shape; the program checks that the shape cut from the
// skin's transparent border pixels lets the screen behind show through.
//
//   skin_screenshots OUTPUT_DIR ROOT.asp
#include "app/icons.h"
#include "app/interface_font.h"
#include "app/main_window.h"
#include "app/qt_prompter.h"
#include "dialogs/help_window.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_draw.h"
#include "skin/windows/skin_manage.h"
#include "skin/windows/win_skin_form.h"

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <cstdio>

using namespace qasp;

namespace {

int failures = 0;

void Fail(const QString &what)
{
    std::fprintf(stderr, "skin_screenshots: %s\n", qPrintable(what));
    ++failures;
}

// The caption's colour in the middle of the Top border's state image.
QColor CaptionColour(const skin::TSkinData &data, bool active)
{
    const skin::TDataSkinBorder &top = data.Model().Top;
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
    const QImage shot = w->screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height()).toImage();
    if (!shot.save(dir + "/" + name + ".png"))
        Fail("cannot write " + name + ".png");
    skin::TWinSkinForm *painter = skin::TSkinManage::Get()->FindSkinForm(w);
    if (!painter) {
        Fail(name + ": the window wears no skin");
        return;
    }
    if (w->size() != shot.size())
        Fail(name + ": picture and window differ in size");
    // Outside the window's shape the screen behind (black) shows; inside,
    // the caption is painted.
    const QColor background = shot.pixelColor(0, 0);
    if (painter->Region.contains(QPoint(0, 0)) || background != QColor(Qt::black))
        Fail(name + ": the top-left corner is not cut from the window");
    const QPoint caption(frame.width() / 2, painter->Metrics.CaptionHeight / 2);
    if (!painter->Region.contains(caption) ||
        shot.pixelColor(caption) != CaptionColour(*painter->SkinData, painter->IsActive))
        Fail(name + ": the caption does not show the skin's " + (painter->IsActive ? "active" : "inactive") +
             " look");
    std::printf("%s.png: %dx%d, %s\n", qPrintable(name), shot.width(), shot.height(),
                painter->IsActive ? "active" : "inactive");
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

    app::TFAsp window;
    window.show();
    window.OpenProjectFile(QString::fromLocal8Bit(argv[2]));
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window))
        Fail("the main window never became active");
    Shoot(&window, dir, "main-active", QPoint(20, 20));

    QWidget other;
    other.setWindowTitle("另一个窗口");
    other.setGeometry(800, 40, 200, 100);
    other.show();
    other.activateWindow();
    QTest::qWaitForWindowActive(&other);
    QTest::qWait(100);
    Shoot(&window, dir, "main-inactive", QPoint(20, 20));
    other.close();

    window.activateWindow();
    window.ShowHelp();
    QTest::qWaitForWindowActive(window.HelpWindow());
    Shoot(window.HelpWindow(), dir, "help-window", QPoint(800, 40));
    window.HelpWindow()->close();

    app::QtPrompter prompter(&window);
    ShootModal(dir, "question-box", [&] { prompter.Question("保存提示", "工程已经修改，要保存吗?", kYesNoCancel); });
    ShootModal(dir, "input-box", [&] {
        prompter.InputBox("查找", "输入你查找文字内容,下次可用F3继续!\u3000\u3000\u3000", "Response");
    });
    return failures == 0 ? 0 : 1;
}
