// quillmere-asp [ROOT.asp]: the editor. --screenshot FILE.png saves a picture
// of the laid-out window and exits. Such runs end by themselves, so no box
// waits for an answer in them: messages go to stderr.
#include "version.h"
#include "app/app_info.h"
#include "app/interface_font.h"
#include "app/icons.h"
#include "app/main_window.h"
#include "app/process_stats.h"
#include "app/qt_translations.h"
#include "app/skin_menu.h"
#include "app/unattended_run.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const char kUsage[] =
    "usage: quillmere-asp [ROOT.asp]\n"
    "       quillmere-asp --screenshot FILE.png [ROOT.asp]\n"
    "\n"
    "Opens the editor, with the project of the given root ASP page when one is named.\n"
    "  --screenshot FILE.png  save a picture of the window once it is laid out, then exit\n"
    "  --skin FILE.skin       use this skin file instead of the built-in skin\n"
    "  --startup-time         print the time from the program's start to its first painted\n"
    "                         window and the memory then in use, then exit\n"
    "  --help, --version\n";

bool HasDisplay()
{
#if defined(Q_OS_LINUX) || defined(Q_OS_UNIX)
    if (std::getenv("QT_QPA_PLATFORM"))
        return true;
    const char *x = std::getenv("DISPLAY");
    const char *wayland = std::getenv("WAYLAND_DISPLAY");
    return (x && *x) || (wayland && *wayland);
#else
    return true;
#endif
}

struct Options {
    bool startupTime = false;
    QString screenshot;
    QString skin;
    QString root;
};

// Returns false after printing a message when the arguments say to stop.
bool ParseArguments(int argc, char **argv, Options &options, int &exitCode)
{
    for (int i = 1; i < argc; ++i) {
        const char *a = argv[i];
        if (!std::strcmp(a, "--help") || !std::strcmp(a, "-h")) {
            std::fputs(kUsage, stdout);
            exitCode = 0;
            return false;
        }
        if (!std::strcmp(a, "--version")) {
            std::puts("quillmere-asp " QASP_VERSION);
            exitCode = 0;
            return false;
        }
        if (!std::strcmp(a, "--startup-time")) {
            options.startupTime = true;
            continue;
        }
        if (!std::strcmp(a, "--screenshot") || !std::strcmp(a, "--skin")) {
            if (++i == argc) {
                std::fprintf(stderr, "quillmere-asp: %s needs a file name\n", a);
                exitCode = 2;
                return false;
            }
            (a[2] == 's' && a[3] == 'c' ? options.screenshot : options.skin) =
                QString::fromLocal8Bit(argv[i]);
        } else if (a[0] == '-' && a[1] == '-') {
            std::fprintf(stderr, "quillmere-asp: unknown option %s\n%s", a, kUsage);
            exitCode = 2;
            return false;
        } else if (options.root.isEmpty()) {
            options.root = QString::fromLocal8Bit(a);
        } else {
            std::fprintf(stderr, "quillmere-asp: only one file can be opened\n%s", kUsage);
            exitCode = 2;
            return false;
        }
    }
    return true;
}

// Reports the first paint of the window it watches, then ends the program.
class StartupReport : public QObject {
public:
    explicit StartupReport(QWidget *window) : QObject(window) { window->installEventFilter(this); }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !done_) {
            done_ = true;
            QTimer::singleShot(0, [] {
                std::printf("first painted window after %.0f ms; resident memory %ld KiB\n",
                            qasp::app::ProcessAgeMs(), qasp::app::ResidentKiB());
                QApplication::exit(0);
            });
        }
        return false;
    }

private:
    bool done_ = false;
};

}  // namespace

int main(int argc, char **argv)
{
    Options options;
    int exitCode = 0;
    if (!ParseArguments(argc, argv, options, exitCode))
        return exitCode;
    if (!HasDisplay()) {
        std::fputs("quillmere-asp: no display to show the window on (DISPLAY and WAYLAND_DISPLAY "
                   "are not set).\n"
                   "Start it from a desktop session, or under a virtual display:\n"
                   "    xvfb-run -a quillmere-asp [ROOT.asp]\n",
                   stderr);
        return 2;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName("quillmere-asp");
    QApplication::setApplicationVersion(QASP_VERSION);
    qasp::app::InstallQtTranslations(app);
    qasp::app::InstallFontSubstitutions();
    QApplication::setFont(qasp::app::InterfaceFont());
    QApplication::setWindowIcon(qasp::app::ProgramIcon());

    // Set before the window is made: its keyword store may already fail.
    qasp::app::SetUnattendedRun(options.startupTime || !options.screenshot.isEmpty());

    qasp::app::MainWindow window;
    // A skin file that cannot be used is refused as the skin menu refuses
    // it: the built-in skin stays, and the refusal is shown.
    if (!options.skin.isEmpty())
        window.useSkinFile(options.skin);
    window.show();
    // Once shown, when the skin has put its frame around the client area:
    // the place is the whole window's. A run that ends by itself always
    // opens at the same place and size.
    window.placeOnScreen(!qasp::app::IsUnattendedRun());
    if (options.startupTime)
        new StartupReport(&window);  // after the skin's painter: it sees the paint first
    if (!options.root.isEmpty())
        window.openProjectFile(options.root);
    if (qasp::app::UnattendedRunFailed())
        return 1;  // the error is on stderr

    if (!options.screenshot.isEmpty()) {
        // Let the window be laid out and painted before taking its picture.
        QTimer::singleShot(300, &window, [&window, &options] {
            const bool saved = window.grab().save(options.screenshot, "PNG");
            if (!saved)
                std::fprintf(stderr, "quillmere-asp: cannot write %s\n",
                             options.screenshot.toLocal8Bit().constData());
            QApplication::exit(saved ? 0 : 1);
        });
    }
    const int status = app.exec();
    return qasp::app::UnattendedRunFailed() ? 1 : status;
}
