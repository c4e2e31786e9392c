// Runs that end by themselves (--screenshot, --startup-time) never wait on a
// box: the program is run as a script would run it, with bad skins, projects
// that do not load and a broken keyword store, and must end with its message
// on stderr. In the process, the prompter and the error box of such a run
// show nothing.
#include "app/error_box.h"
#include "app/qt_prompter.h"
#include "app/unattended_run.h"
#include "app/window_placement.h"
#include "gui_test_setup.h"

#include <QApplication>
#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace qasp;

namespace {

struct Finished {
    bool ended = false;
    int exitCode = -1;
    QString out, err;
};

// The program with its own home (a keyword store of its own), offscreen.
Finished RunProgram(const QStringList &arguments, const QString &home)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("HOME", home);
    env.remove("XDG_DATA_HOME");
    process.setProcessEnvironment(env);
    process.start(QASP_PROGRAM, arguments);
    Finished f;
    // Far longer than a run takes; a run that waits on a box never ends.
    f.ended = process.waitForFinished(60000);
    if (!f.ended) {
        process.kill();
        process.waitForFinished();
    }
    f.exitCode = process.exitCode();
    f.out = QString::fromUtf8(process.readAllStandardOutput());
    f.err = QString::fromUtf8(process.readAllStandardError());
    return f;
}

void WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray ShippedSecondSkin()
{
    QFile file(QASP_SKIN_DIR "/quillmere-dusk.skin");
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The window opens at four fifths of the screen; the program under test
// runs on the same kind of screen as the test.
QSize PlacedWindowSize()
{
    return qasp::app::DefaultWindowGeometry(QGuiApplication::primaryScreen()->availableGeometry()).size();
}

// Closes a box that should not have been shown, so that a fault fails the
// test instead of hanging it.
struct BoxWatch {
    bool seen = false;
    QTimer timer;
    BoxWatch()
    {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            if (QWidget *box = QApplication::activeModalWidget()) {
                seen = true;
                box->close();
            }
        });
        timer.start(50);
    }
};

}  // namespace

class UnattendedRunTest : public QObject {
    Q_OBJECT

    QTemporaryDir scratch_;

    QString Home(const QString &name)
    {
        QString home = scratch_.filePath("home-" + name);
        QDir().mkpath(home);
        return home;
    }

private slots:
    void initTestCase()
    {
        PrepareGuiTests();
        QVERIFY(scratch_.isValid());
        QVERIFY(!ShippedSecondSkin().isEmpty());
    }

    void cleanup() { app::SetUnattendedRun(false); }

    void promptsAreAnsweredWithoutABox()
    {
        app::SetUnattendedRun(true);
        BoxWatch watch;
        app::QtPrompter prompter(nullptr);
        prompter.Information("说明");
        QCOMPARE(prompter.Question("保存提示", "工程已经修改，要保存吗?", QuestionButtons::YesNoCancel),
                 Answer::Cancel);
        QCOMPARE(prompter.Question("删除提示", "你确定要删除这个结点吗?", QuestionButtons::YesNo),
                 Answer::No);
        QCOMPARE(prompter.InputBox("名称输入", "名称", "默认"), std::string("默认"));
        QVERIFY(!app::UnattendedRunFailed());
        app::ShowFallbackBox(nullptr, "内存关键字库");
        QVERIFY(!app::UnattendedRunFailed());  // the program goes on from a fallback
        QVERIFY(!app::Guarded(nullptr, [] { throw std::runtime_error("命令失败"); }));
        QVERIFY(app::UnattendedRunFailed());  // a failed command fails the run
        QVERIFY(!watch.seen);
    }

    void aBadSkinFallsBackToTheBuiltInOne_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        // An empty container: it reads as a skin of the old format.
        QTest::newRow("old format") << QByteArray(64, '\0');
        QByteArray garbled = ShippedSecondSkin().left(4);
        for (int i = 0; i < 2000; ++i)
            garbled += char(i * 7919 % 251);
        QTest::newRow("garbled") << garbled;
        QTest::newRow("not a skin") << QByteArray("<% Response.Write \"x\" %>\r\n");
        QTest::newRow("no such file") << QByteArray();
        // Its container reads; its description and pictures are lost.
        QTest::newRow("half of the second skin") << ShippedSecondSkin().left(ShippedSecondSkin().size() / 2);
    }

    void aBadSkinFallsBackToTheBuiltInOne()
    {
        QFETCH(QByteArray, bytes);
        const QString tag = QTest::currentDataTag();
        const QString skin = scratch_.filePath(tag + ".skin");
        if (!bytes.isEmpty())
            WriteFile(skin, bytes);
        const QString picture = scratch_.filePath(tag + ".png");
        const Finished f = RunProgram({"--screenshot", picture, "--skin", skin}, Home("skin"));
        QVERIFY2(f.ended, "the run waited on a box");
        QCOMPARE(f.exitCode, 0);
        QVERIFY2(f.err.contains("无法使用皮肤文件：" + skin), qPrintable(f.err));
        QCOMPARE(QImageReader(picture).size(), PlacedWindowSize());
    }

    void startupTimeWithABadSkinEnds()
    {
        const QString skin = scratch_.filePath("zeros.skin");
        WriteFile(skin, QByteArray(64, '\0'));
        const Finished f = RunProgram({"--startup-time", "--skin", skin}, Home("skin"));
        QVERIFY2(f.ended, "the run waited on a box");
        QCOMPARE(f.exitCode, 0);
        QVERIFY(f.err.contains("无法使用皮肤文件"));
        QVERIFY(f.out.contains("first painted window after"));
    }

    void aProjectThatDoesNotLoadFailsTheRun_data()
    {
        QTest::addColumn<QStringList>("mode");
        QTest::addColumn<QString>("root");
        QTest::addColumn<QString>("named");
        const QString picture = scratch_.filePath("failed.png");
        QTest::newRow("screenshot, binary page") << QStringList{"--screenshot", picture} << "binary/index.asp"
                                                 << "不是文本文件";
        QTest::newRow("screenshot, root missing")
            << QStringList{"--screenshot", picture} << "no-such/index.asp"
            << "index.asp";
        QTest::newRow("startup time, binary page") << QStringList{"--startup-time"} << "binary/index.asp"
                                                   << "不是文本文件";
    }

    void aProjectThatDoesNotLoadFailsTheRun()
    {
        QFETCH(QStringList, mode);
        QFETCH(QString, root);
        QFETCH(QString, named);
        QDir(scratch_.path()).mkpath("binary");
        WriteFile(scratch_.filePath("binary/index.asp"), QByteArray("<%\r\nDim a\0\r\n%>\r\n", 14));
        QFile::remove(scratch_.filePath("failed.png"));
        const Finished f = RunProgram(mode << scratch_.filePath(root), Home("project"));
        QVERIFY2(f.ended, "the run waited on the error box");
        QCOMPARE(f.exitCode, 1);
        QVERIFY2(f.err.contains(named), qPrintable(f.err));
        QVERIFY(!QFile::exists(scratch_.filePath("failed.png")));
        QVERIFY(!f.out.contains("first painted window"));
    }

    void skippedIncludesAreReportedAndTheRunGoesOn()
    {
        QDir(scratch_.path()).mkpath("cycle");
        WriteFile(scratch_.filePath("cycle/index.asp"),
                  "<!--#include file=\"index.asp\"-->\r\n<%\r\nDim b\r\n%>\r\n");
        const QString picture = scratch_.filePath("cycle.png");
        const Finished f =
            RunProgram({"--screenshot", picture, scratch_.filePath("cycle/index.asp")}, Home("project"));
        QVERIFY2(f.ended, "the run waited on a message box");
        QCOMPARE(f.exitCode, 0);
        QVERIFY2(f.err.contains("打开工程时跳过了"), qPrintable(f.err));
        QVERIFY(QFile::exists(picture));
    }

    void aBrokenKeywordStoreIsReportedAndTheRunGoesOn()
    {
        if (QFile::exists(QFileInfo(QASP_PROGRAM).dir().filePath("main.db")))
            QSKIP("a keyword store beside the program is used before the home's");
        const QString home = Home("broken-store");
        QDir(home).mkpath(".local/share/quillmere-asp");
        WriteFile(home + "/.local/share/quillmere-asp/main.db", QByteArray(4096, 'Z'));
        const QString picture = scratch_.filePath("store.png");
        const Finished f = RunProgram({"--screenshot", picture}, home);
        QVERIFY2(f.ended, "the run waited on the error box");
        QCOMPARE(f.exitCode, 0);
        QVERIFY2(f.err.contains("not a database"), qPrintable(f.err));
        QVERIFY(QFile::exists(picture));
    }

    void aPictureThatCannotBeWrittenFailsTheRun()
    {
        const Finished f =
            RunProgram({"--screenshot", scratch_.filePath("no-such-dir/shot.png")}, Home("skin"));
        QVERIFY(f.ended);
        QCOMPARE(f.exitCode, 1);
        QVERIFY(f.err.contains("cannot write"));
    }
};

QTEST_MAIN(UnattendedRunTest)
#include "unattended_run_test.moc"
