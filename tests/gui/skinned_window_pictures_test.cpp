// Every window the program shows, in the built-in skin and in the dark
// one, painted offscreen as the user would see it: no pixel may be the
// skin's transparent magenta, and every text must stand out from what is
// behind it by at least 4.5:1.
#include "app/legend_label.h"
#include "app/main_window.h"
#include "app/skin_menu.h"
#include "dialogs/directory_dialog.h"
#include "dialogs/help_window.h"
#include "skin/data/readable_colour.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_draw.h"
#include "skin/windows/skin_manager.h"
#include "skin/windows/skinned_window.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
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

// The contrast of the text in a region of a picture: the region's commonest
// colour is the background, the pixel furthest from it the core of a glyph.
double TextContrast(const QImage &picture, const QRect &region, QString *colours = nullptr)
{
    QHash<QRgb, int> counts;
    const QRect r = region & picture.rect();
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            ++counts[picture.pixel(x, y) | 0xFF000000];
    QRgb background = 0;
    int most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > most) {
            most = it.value();
            background = it.key();
        }
    double best = 1;
    QRgb ink = background;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (const double c = skin::ContrastRatio(QColor(it.key()), QColor(background)); c > best) {
            best = c;
            ink = it.key();
        }
    if (colours)
        *colours = QColor(ink).name() + " on " + QColor(background).name();
    return best;
}

// Whether two colours differ by at most 3 in every channel.
bool Near(const QColor &a, const QColor &b)
{
    return std::abs(a.red() - b.red()) <= 3 && std::abs(a.green() - b.green()) <= 3
           && std::abs(a.blue() - b.blue()) <= 3;
}

// A button's face inside its border, whose colour is not the text's ground.
QRect ButtonFace(const QWidget *button)
{
    return button->rect().adjusted(3, 3, -3, -3);
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

    // `part` of `shown` (its whole rectangle by default) in `picture`, a
    // picture of `window`.
    void checkText(const QImage &picture, QWidget *window, QWidget *shown, const QString &what,
                   QRect part = {})
    {
        if (part.isNull())
            part = shown->rect();
        const QRect region(shown->mapTo(window, part.topLeft()), part.size());
        QString colours;
        const double contrast = TextContrast(picture, region, &colours);
        QVERIFY2(contrast >= 4.5, qPrintable(QString("%1: %2 has a contrast of %3:1 (%4)")
                                                 .arg(skinName_, what)
                                                 .arg(contrast, 0, 'f', 2)
                                                 .arg(colours)));
    }

    // The tool bar's empty right end, as shown and as it should be: the
    // skin's face or tool bar picture, or without a skin the program's style
    // sheet.
    void checkToolBarGround(app::MainWindow &window)
    {
        auto *bar = PartOf<QToolBar>(window, "toolBar");
        QTest::qWait(50);
        const QImage shown = bar->grab().toImage();
        const QPoint at(shown.width() - 4, shown.height() / 2);
        QColor expected;
        const skin::SkinData *data = PartOf<skin::SkinData>(window, "skinData");
        if (data->Active() && !data->NoSkin() && data->Has(skin::xoToolbarBK)) {
            expected = skin::ToQColor(data->Model().Colours.ButtonFace);  // the face, plain
        } else if (data->Active() && !data->NoSkin()) {
            QImage painted(shown.size(), QImage::Format_RGB32);
            QPainter(&painted).drawImage(painted.rect(),
                                         skin::StateImage(data->Model().Toolbar->Bitmap, 1, 1));
            expected = painted.pixelColor(at);
        } else {
            const auto match =
                QRegularExpression("background-color: *(#[0-9A-Fa-f]{6})").match(bar->styleSheet());
            QVERIFY2(match.hasMatch(), "the tool bar's style sheet is not back");
            expected = QColor(match.captured(1));
        }
        QVERIFY2(Near(shown.pixelColor(at), expected),
                 qPrintable(QString("%1: the tool bar shows %2, not %3")
                                .arg(skinName_, shown.pixelColor(at).name(), expected.name())));
    }

    void checkTextsReadable()
    {
        checkToolBarGround(*window_);
        const QImage shot = pictureOf(window_);
        QVERIFY(!shot.isNull());
        for (int i = 0; i < 4; ++i)
            if (QLabel *panel = window_->findChild<QLabel *>(QString("statusPanel%1").arg(i));
                panel && !panel->text().isEmpty())
                checkText(shot, window_, panel, "status panel " + panel->text());
        const auto legend = PartOf<QWidget>(*window_, "colourLegend")->findChildren<app::LegendLabel *>();
        QVERIFY(!legend.isEmpty());
        for (app::LegendLabel *label : legend)
            checkText(shot, window_, label, "legend caption " + label->text());
        auto *bar = window_->menuBar();
        for (QAction *item : bar->actions())
            checkText(shot, window_, bar, "menu bar item " + item->text(), bar->actionGeometry(item));
        for (auto *button : PartOf<QToolBar>(*window_, "toolBar")->findChildren<QToolButton *>())
            if (button->isEnabled() && button->isVisible() && !button->text().isEmpty())
                checkText(shot, window_, button, "tool button " + button->text());
        auto *tree = PartOf<QTreeView>(*window_, "projectTree");
        const QModelIndex first = tree->model()->index(0, 0);
        checkText(shot, window_, tree->viewport(), "the tree's first node", tree->visualRect(first));
        auto *test = PartOf<QPushButton>(*window_, "testButton");
        checkText(shot, window_, test, "the test button", ButtonFace(test));
        // The code's colours are the highlighter's; its ground and plain
        // text come from the palette.
        const QPalette editor = EditorOf(*window_)->palette();
        QVERIFY2(skin::ContrastRatio(editor.color(QPalette::Text), editor.color(QPalette::Base)) >= 4.5,
                 qPrintable(skinName_ + ": the editor's plain text is hard to read"));

        auto *box = new QMessageBox(QMessageBox::Question, "保存提示", "工程已经修改，要保存吗?",
                                    QMessageBox::Yes | QMessageBox::No, window_);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
        const QImage boxShot = pictureOf(box);
        QVERIFY(!boxShot.isNull());
        checkText(boxShot, box, PartOf<QLabel>(*box, "qt_msgbox_label"), "the message box's text");
        for (QAbstractButton *button : box->buttons())
            checkText(boxShot, box, button, "the message box's button " + button->text(), ButtonFace(button));
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

    void builtinSkinTextsAreReadable()
    {
        skinName_ = "built-in skin";
        checkTextsReadable();
    }

    void darkSkinShowsNoMagenta()
    {
        skinName_ = "dark skin";
        QVERIFY(
            PartOf<app::SkinMenu>(*window_, "skinMenu")->useSkinFile(QASP_SKIN_DIR "/quillmere-dusk.skin"));
        QTest::qWait(400);  // the windows take the new skin on the manager's timer
        checkEveryWindow();
    }

    void darkSkinTextsAreReadable()
    {
        skinName_ = "dark skin";
        QVERIFY(skin::IsDark(EditorOf(*window_)->palette().color(QPalette::Base)));
        QVERIFY(skin::IsDark(PartOf<QTreeView>(*window_, "projectTree")->palette().color(QPalette::Base)));
        checkTextsReadable();
    }

    // The dark palette is built from the window's plain one, so a light
    // skin after the dark one brings light fields back.
    void builtinSkinAfterTheDarkOneIsLightAgain()
    {
        skinName_ = "no skin";
        PartOf<app::SkinMenu>(*window_, "skinMenu")->turnSkinOff();
        QTest::qWait(400);
        checkToolBarGround(*window_);
        skinName_ = "built-in skin again";
        PartOf<app::SkinMenu>(*window_, "skinMenu")->useBuiltinSkin();
        QTest::qWait(400);
        QVERIFY(!skin::IsDark(EditorOf(*window_)->palette().color(QPalette::Base)));
        QVERIFY(!skin::IsDark(PartOf<QTreeView>(*window_, "projectTree")->palette().color(QPalette::Base)));
        checkTextsReadable();
    }

    // As with --skin: the skin file is taken before the window first shows.
    void skinGivenBeforeTheWindowShowsReachesTheToolBar()
    {
        skinName_ = "dark skin from the start";
        app::MainWindow second;
        QVERIFY(PartOf<app::SkinMenu>(second, "skinMenu")->useSkinFile(QASP_SKIN_DIR "/quillmere-dusk.skin"));
        second.show();
        QVERIFY(QTest::qWaitFor([&second] { return WearsSkin(&second); }, 3000));
        checkToolBarGround(second);
    }
};

QTEST_MAIN(SkinnedWindowPicturesTest)
#include "skinned_window_pictures_test.moc"
