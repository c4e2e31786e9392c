// The program under load: the demo project and a generated 500-file
// project opened alternately, every node selected, text typed, the project
// saved into a scratch folder, round after round. At the end the memory in
// use must be within 10 % of what it was after the first round, and no file
// may have stayed open.
//
//   soak_test ROUNDS SCRATCH_DIR DEMO_ROOT.asp
// SOAK_TRACE=1 prints the memory after every round; SOAK_NO_DEMO=1 and
// SOAK_NO_BIG=1 leave one of the two projects out, to find what grows.
#include "../../bench/generated_text.h"
#include "app/interface_font.h"
#include "app/main_window.h"
#include "app/process_stats.h"
#include "project/asp_writer.h"
#include "project/prompter.h"
#include "project/project_tree.h"
#include "project/workspace.h"

#include <QApplication>
#include <QDir>
#include <QPlainTextEdit>
#include <QStandardPaths>
#include <QTest>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <unistd.h>
#include <malloc.h>

#include "gui_test_setup.h"

namespace fs = std::filesystem;
using namespace qasp;

namespace {

// Answers every question with No and keeps nothing.
class QuietPrompter : public Prompter {
public:
    void Information(std::string_view) override {}
    Answer Question(std::string_view, std::string_view, QuestionButtons) override { return Answer::No; }
    std::string InputBox(std::string_view, std::string_view, std::string_view d) override
    {
        return std::string(d);
    }
};

int OpenFiles()
{
    int n = 0;
    for ([[maybe_unused]] const auto &entry : fs::directory_iterator("/proc/self/fd"))
        ++n;
    return n;
}

void Exercise(app::MainWindow &window, const QString &root, const fs::path &out, Prompter &prompter)
{
    if (!window.openProjectFile(root)) {
        std::fprintf(stderr, "soak: cannot open %s\n", qPrintable(root));
        std::exit(1);
    }
    ProjectTree &tree = window.tree();
    int visited = 0;
    for (TreeNode *n = tree.FirstTopLevel(); n; n = tree.NextInPreOrder(n)) {
        window.workspace().SelectNode(n);
        if (++visited % 64 == 0)
            QApplication::processEvents();
    }
    window.workspace().SelectNode(tree.FirstTopLevel());
    QPlainTextEdit *editor = EditorOf(window);
    editor->setFocus();
    editor->moveCursor(QTextCursor::End);
    QTest::keyClick(editor, Qt::Key_Return);
    QTest::keyClicks(editor, "Dim soaked");
    QApplication::processEvents();
    fs::create_directories(out);
    SaveAspDocument(tree.FirstTopLevel(), out.string(), false, prompter, OverwritePolicy::Force);
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: soak_test ROUNDS SCRATCH_DIR DEMO_ROOT.asp\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    app::InstallFontSubstitutions();
    QApplication::setFont(app::InterfaceFont());
    const int rounds = std::max(1, std::atoi(argv[1]));
    const fs::path scratch = argv[2];
    fs::remove_all(scratch);
    const fs::path big = scratch / "big";
    fs::create_directories(big);
    bench::ProjectShape shape;
    shape.functions = 1;
    shape.bodyLines = 20;
    shape.functionLines = 6;
    for (int f = 0; f < shape.files; ++f)
        std::ofstream(big / bench::GeneratedProjectFileName(f), std::ios::binary)
            << bench::GeneratedProjectFile(f, shape);

    QuietPrompter prompter;
    app::MainWindow window;
    window.usePrompter(&prompter);
    window.show();
    long afterFirst = 0;
    int filesAfterFirst = 0;
    for (int round = 1; round <= rounds; ++round) {
        if (!getenv("SOAK_NO_DEMO"))
            Exercise(window, QString::fromLocal8Bit(argv[3]), scratch / "out-demo", prompter);
        if (!getenv("SOAK_NO_BIG"))
            Exercise(window, QString::fromStdString((big / "index.asp").string()), scratch / "out-big",
                     prompter);
        if (getenv("SOAK_TRACE"))
            std::printf("round %d: %ld KiB, heap in use %zu KiB\n", round, app::ResidentKiB(),
                        mallinfo2().uordblks / 1024);
        if (round == 1) {
            afterFirst = app::ResidentKiB();
            filesAfterFirst = OpenFiles();
        }
    }
    const long atEnd = app::ResidentKiB();
    const int filesAtEnd = OpenFiles();
    std::printf("soak: %d rounds; resident memory after the first %ld KiB, at the end %ld KiB (%+.1f %%); "
                "open files %d and %d\n",
                rounds, afterFirst, atEnd, 100.0 * (atEnd - afterFirst) / afterFirst, filesAfterFirst,
                filesAtEnd);
    fs::remove_all(scratch);
    if (atEnd > afterFirst * 11 / 10) {
        std::fprintf(stderr, "soak: memory grew by more than 10 %%\n");
        return 1;
    }
    if (filesAtEnd > filesAfterFirst) {
        std::fprintf(stderr, "soak: files were left open\n");
        return 1;
    }
    return 0;
}
