// Skinned controls on real widgets (offscreen): a skinned scroll bar
// scrolls its control exactly as the plain bar does, kSwitchPaintingEvent
// hands painting back to a control and takes it again, unskinning gives
// every control back, the menu bar's drop-downs wrap at either end, popup
// menus wear the skin unless marked to keep their plain look, and the
// marks, not Tag, keep a control plain or draw it on its parent.
#include "skin_test_setup.h"

#include "skin/data/skin_data.h"
#include "skin/data/skin_draw.h"
#include "skin/windows/skinned_button.h"
#include "skin/windows/skinned_control.h"
#include "skin/windows/skinned_panels.h"
#include "skin/windows/skin_events.h"
#include "skin/windows/skin_marks.h"
#include "skin/windows/skin_manager.h"
#include "skin/windows/skinned_scroll_bar.h"
#include "skin/windows/skinned_tab_buttons.h"
#include "skin/windows/skinned_window.h"
#include "skin/windows/skinned_popup_menu.h"
#include "skin/windows/skinned_ranges.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QSizeGrip>
#include <QStatusBar>
#include <QTabBar>
#include <QStyleOptionSlider>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace qasp;
using namespace qasp::skin;

namespace {

// A style that measures menu items far narrower than the skin paints them.
struct NarrowMenuStyle : QProxyStyle {
    QSize sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &size,
                           const QWidget *widget) const override
    {
        const QSize s = QProxyStyle::sizeFromContents(type, option, size, widget);
        return type == CT_MenuItem ? QSize(30, s.height()) : s;
    }
};

// A form with one of each control the program uses.
struct Form : QWidget {
    QMenuBar *bar = new QMenuBar(this);
    QToolBar *tools = new QToolBar(this);
    QPlainTextEdit *text = new QPlainTextEdit(this);
    QTreeWidget *tree = new QTreeWidget(this);
    QLineEdit *edit = new QLineEdit(this);
    QPushButton *button = new QPushButton("测试", this);
    QStatusBar *status = new QStatusBar(this);

    Form()
    {
        for (const char *title : {"文件(&Z)", "编辑(&Y)", "帮助(&X)"})
            bar->addMenu(title)->addAction("项");
        tools->addAction("打开");
        tools->setStyleSheet("background-color: #F7F6EE;");
        auto *layout = new QVBoxLayout(this);
        layout->setMenuBar(bar);
        for (QWidget *w : std::initializer_list<QWidget *>{tools, text, tree, edit, button, status})
            layout->addWidget(w);
        QStringList lines;
        for (int i = 0; i < 300; ++i)
            lines << QString("Line %1").arg(i);
        text->setPlainText(lines.join('\n'));
        text->setLineWrapMode(QPlainTextEdit::NoWrap);
        status->addWidget(new QLabel("就绪"));
        resize(420, 520);
    }
};

// Where the plain bar's second arrow is, as its style lays it out.
QPoint PlainSecondArrow(QScrollBar *bar)
{
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    return bar->style()
        ->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarAddLine, bar)
        .center();
}

}  // namespace

class SkinnedControlsTest : public QObject {
    Q_OBJECT

    SkinData *data_ = nullptr;

    void RunAction(SkinAction action) { RunSkinAction(data_, action); }

private slots:
    void initTestCase() { data_ = StartSkinning(this); }

    void init()
    {
        if (!SkinManager::instance()->isActive())
            RunAction(SkinAction::Activate);
    }

    void everyControlOfTheFormIsSkinned()
    {
        Form f;
        f.show();
        QTRY_VERIFY(IsReady(&f));
        for (QWidget *w : std::initializer_list<QWidget *>{f.bar, f.tools, f.text, f.tree, f.edit, f.button,
                                                           f.status, f.text->verticalScrollBar()})
            QVERIFY2(AnswersSkinQuery(w), w->metaObject()->className());
        QVERIFY(f.tools->styleSheet().isEmpty());  // the skin's colours replace the bar's own
    }

    void skinnedArrowScrollsLikeThePlainBar()
    {
        Form plain;
        MarkNoSkin(&plain);
        plain.show();
        QVERIFY(QTest::qWaitForWindowExposed(&plain));
        QScrollBar *plainBar = plain.text->verticalScrollBar();
        QVERIFY(!AnswersSkinQuery(plainBar));
        QTest::mouseClick(plainBar, Qt::LeftButton, {}, PlainSecondArrow(plainBar));
        const int plainStep = plainBar->value();
        QVERIFY(plainStep > 0);
        plainBar->setValue(0);
        QTest::mouseClick(plainBar, Qt::LeftButton, {},
                          QPoint(plainBar->width() / 2, plainBar->height() - 30));
        const int plainPage = plainBar->value();
        QVERIFY(plainPage > plainStep);

        Form skinned;
        skinned.show();
        QTRY_VERIFY(IsReady(&skinned));
        QScrollBar *bar = skinned.text->verticalScrollBar();
        QVERIFY(AnswersSkinQuery(bar));
        QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() - 3));
        QCOMPARE(bar->value(), plainStep);
        QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, 3));
        QCOMPARE(bar->value(), 0);
        // A click on the track below the thumb pages, as on the plain bar.
        QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() - 30));
        QCOMPARE(bar->value(), plainPage);
        // Dragging the thumb to the end reaches the last position.
        auto *skin = qobject_cast<SkinnedScrollBar *>(Owner(bar));
        QVERIFY(skin);
        const ScrollBarLayout layout = skin->layout();
        const QPoint thumb(bar->width() / 2, layout.ThumbStart + layout.ThumbLength / 2);
        QTest::mousePress(bar, Qt::LeftButton, {}, thumb);
        QTest::mouseMove(bar, QPoint(bar->width() / 2, bar->height() + 50));
        QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() + 50));
        QCOMPARE(bar->value(), bar->maximum());
    }

    void switchingPaintingOffHandsItBack()
    {
        Form f;
        f.show();
        QTRY_VERIFY(IsReady(&f));
        const QImage skinned = f.button->grab().toImage();
        SendSkinMessage(f.button, kSwitchPaintingEvent, 0);
        const QImage own = f.button->grab().toImage();
        QVERIFY(skinned != own);
        SendSkinMessage(f.button, kSwitchPaintingEvent, 1);
        QCOMPARE(f.button->grab().toImage(), skinned);
    }

    void unskinningGivesEveryControlBack()
    {
        // Shown plain first, to know each control as it was.
        Form f;
        MarkNoSkin(&f);
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        const std::initializer_list<QWidget *> controls{
            f.bar, f.tools, f.text, f.tree, f.edit, f.button, f.status, f.text->verticalScrollBar()};
        std::vector<std::pair<bool, QPalette>> before;
        for (QWidget *w : controls)
            before.emplace_back(w->testAttribute(Qt::WA_Hover), w->palette());
        MarkNoSkin(&f, false);
        RunAction(SkinAction::Activate);
        QTRY_VERIFY(IsReady(&f));
        QVERIFY(AnswersSkinQuery(f.status));

        RunAction(SkinAction::Deactivate);
        size_t i = 0;
        for (QWidget *w : controls) {
            QVERIFY2(!AnswersSkinQuery(w), w->metaObject()->className());
            QCOMPARE(w->testAttribute(Qt::WA_Hover), before[i].first);
            QCOMPARE(w->palette(), before[i].second);
            ++i;
        }
        QCOMPARE(f.tools->styleSheet(), QString("background-color: #F7F6EE;"));
        // Skinned again, the controls are too.
        RunAction(SkinAction::Activate);
        QTRY_VERIFY(IsReady(&f));
        QVERIFY(AnswersSkinQuery(f.button));
    }

    void menuBarDropDownsWrapAtEitherEnd()
    {
        Form f;
        f.show();
        QTRY_VERIFY(IsReady(&f));
        f.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        const QList<QAction *> items = f.bar->actions();
        f.bar->setActiveAction(items.first());
        QTRY_VERIFY(items.first()->menu()->isVisible());
        QCOMPARE(SkinManager::instance()->nextPopupKind(), int(kMenuBarDropDown));
        QTest::keyClick(items.first()->menu(), Qt::Key_Left);
        QTRY_VERIFY(items.last()->menu()->isVisible());
        QTest::keyClick(items.last()->menu(), Qt::Key_Right);
        QTRY_VERIFY(items.first()->menu()->isVisible());
        QTest::keyClick(items.first()->menu(), Qt::Key_Escape);
        QTest::keyClick(f.bar, Qt::Key_Escape);
        QTRY_VERIFY(SkinManager::instance()->skinnedPopupCount() == 0);
        QCOMPARE(SkinManager::instance()->nextPopupKind(), int(kContextMenu));
    }

    void anOpenMenuBarItemIsSunkInTheSkinsShadowAndLight()
    {
        Form f;
        f.show();
        QTRY_VERIFY(IsReady(&f));
        f.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        QAction *first = f.bar->actions().first();
        f.bar->setActiveAction(first);
        QTRY_VERIFY(first->menu()->isVisible());
        const QImage shown = f.bar->grab().toImage();
        const QRect r = f.bar->actionGeometry(first).adjusted(0, 0, -1, -2);
        const SkinColourTable &c = data_->Model().Colours;
        QCOMPARE(shown.pixelColor(r.left() + 3, r.top()), ToQColor(c.ButtonShadow));
        QCOMPARE(shown.pixelColor(r.left(), r.top() + 3), ToQColor(c.ButtonShadow));
        QCOMPARE(shown.pixelColor(r.left() + 3, r.bottom()), ToQColor(c.ButtonHilight));
        QCOMPARE(shown.pixelColor(r.right(), r.top() + 3), ToQColor(c.ButtonHilight));
        QTest::keyClick(first->menu(), Qt::Key_Escape);
        QTest::keyClick(f.bar, Qt::Key_Escape);
        QTRY_VERIFY(SkinManager::instance()->skinnedPopupCount() == 0);
    }

    void popupMenusWearTheSkinUnlessMarked()
    {
        QMenu menu;
        menu.addAction("剪切");
        menu.addSeparator();
        menu.addAction("粘贴");
        menu.popup(QPoint(30, 30));
        QTRY_VERIFY(menu.isVisible());
        SkinManager *manager = SkinManager::instance();
        QCOMPARE(manager->skinnedPopupCount(), 1);
        QVERIFY(manager->skinnedPopup(&menu)->canPaint());
        // The border is the skin's menu background.
        const SkinElement &background = *data_->Model().MenuBackground;
        const QColor corner = StateImage(background.Bitmap, background.FrameCount, 1).pixelColor(1, 1);
        QCOMPARE(menu.grab().toImage().pixelColor(1, 1), corner);
        menu.hide();

        QMenu plain;
        MarkNoSkin(&plain);
        plain.addAction("复制");
        plain.popup(QPoint(30, 30));
        QTRY_VERIFY(plain.isVisible());
        QVERIFY(manager->skinnedPopupCount() == 0);
        plain.hide();
    }

    void popupMenuItemsAreWideEnoughForCaptionAndShortcut()
    {
        NarrowMenuStyle narrow;
        QMenu menu;
        menu.setStyle(&narrow);
        menu.addAction("在工程中查找全部匹配的文字\tCtrl+Shift+Alt+F");
        menu.addAction("转到定义", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F12));
        menu.addMenu("最近打开的工程文件列表")->addAction("a.asp");
        menu.addSeparator();
        menu.addAction("短");
        menu.popup(QPoint(30, 30));
        QTRY_VERIFY(menu.isVisible());
        QVERIFY(SkinManager::instance()->skinnedPopup(&menu));
        const QFontMetrics metrics(menu.font());
        for (QAction *action : menu.actions()) {
            if (action->isSeparator())
                continue;
            QVERIFY2(menu.actionGeometry(action).width() >= SkinnedPopupMenu::itemWidth(metrics, action),
                     qPrintable(action->text()));
            QVERIFY(menu.rect().contains(menu.actionGeometry(action)));
        }
        const int widened = menu.minimumWidth();
        QVERIFY(widened > 0);
        menu.hide();
        QTRY_VERIFY(SkinManager::instance()->skinnedPopupCount() == 0);
        QCOMPARE(menu.minimumWidth(), 0);  // the style's own measure again once unskinned
    }

    void theComboDropDownListScrollsWithASkinnedBar()
    {
        Form f;
        auto *combo = new QComboBox(&f);
        combo->setEditable(true);
        for (int i = 0; i < 60; ++i)
            combo->addItem(QString("第 %1 项").arg(i));
        f.layout()->addWidget(combo);
        f.show();
        QTRY_VERIFY(IsReady(&f));
        QScrollBar *bar = combo->view()->verticalScrollBar();
        QVERIFY(AnswersSkinQuery(combo) && AnswersSkinQuery(bar));
        combo->showPopup();
        QTRY_VERIFY(bar->isVisible());
        // The bar works as before: its second arrow steps the list.
        QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() - 3));
        QVERIFY(bar->value() > 0);
        combo->hidePopup();

        RunAction(SkinAction::Deactivate);
        QVERIFY(!AnswersSkinQuery(bar));
    }

    void sliderThumbsPointAtTicksOnOneSide()
    {
        const SkinModel &m = data_->Model();
        QCOMPARE(SkinnedSlider::thumbPicture(m, true, QSlider::TicksBelow), m.TrackbarThumbDown.get());
        QCOMPARE(SkinnedSlider::thumbPicture(m, true, QSlider::TicksAbove), m.TrackbarThumbUp.get());
        QCOMPARE(SkinnedSlider::thumbPicture(m, false, QSlider::TicksLeft), m.TrackbarThumbLeft.get());
        QCOMPARE(SkinnedSlider::thumbPicture(m, false, QSlider::TicksRight), m.TrackbarThumbRight.get());
        QCOMPARE(SkinnedSlider::thumbPicture(m, true, QSlider::TicksBothSides), m.TrackbarThumbHorz.get());
        QCOMPARE(SkinnedSlider::thumbPicture(m, false, QSlider::NoTicks), m.TrackbarThumbVert.get());

        Form f;
        auto *slider = new QSlider(Qt::Horizontal, &f);
        slider->setRange(0, 10);
        slider->setTickInterval(5);
        slider->setTickPosition(QSlider::TicksBelow);
        slider->setValue(3);
        f.layout()->addWidget(slider);
        f.show();
        QTRY_VERIFY(IsReady(&f));
        QVERIFY(AnswersSkinQuery(slider));
        const QImage shown = slider->grab().toImage();
        // Ticks below at 0, 5 and 10, none above; the thumb (at 3) covers none.
        const QColor tick = ToQColor(m.Colours.ButtonShadow);
        int below = 0;
        for (int x = 0; x < shown.width(); ++x)
            if (shown.pixelColor(x, shown.height() - 2) == tick) {
                ++below;
                QVERIFY(shown.pixelColor(x, 0) != tick);
            }
        QCOMPARE(below, 3);
    }

    void tabCloseMarksAndScrollButtonsWearTheSkin()
    {
        Form f;
        auto *tabs = new QTabBar(&f);
        tabs->setTabsClosable(true);
        tabs->setUsesScrollButtons(true);
        tabs->setExpanding(false);
        for (int i = 0; i < 12; ++i)
            tabs->addTab(QString("页面 %1").arg(i));
        f.layout()->addWidget(tabs);
        f.show();
        QTRY_VERIFY(IsReady(&f));
        QVERIFY(AnswersSkinQuery(tabs));
        auto *close = qobject_cast<QAbstractButton *>(tabs->tabButton(0, QTabBar::RightSide));
        QAbstractButton *scroll = nullptr;
        for (QAbstractButton *b : tabs->findChildren<QAbstractButton *>())
            if (SkinnedTabButtons::isScrollButton(b) && b->isVisible())
                scroll = b;
        QVERIFY(close && SkinnedTabButtons::isCloseButton(close));
        QVERIFY2(scroll, "the tabs do not fit: the scroll buttons show");
        // The mark is drawn in the skin's button text colour.
        const QImage mark = close->grab().toImage();
        const QColor text = ToQColor(data_->Model().Colours.ButtonText);
        bool inked = false;
        for (int y = 0; y < mark.height(); ++y)
            for (int x = 0; x < mark.width(); ++x) {
                const QColor c = mark.pixelColor(x, y);
                inked |= std::abs(c.red() - text.red()) + std::abs(c.green() - text.green())
                             + std::abs(c.blue() - text.blue())
                         < 60;
            }
        QVERIFY(inked);
        const QImage skinnedScroll = scroll->grab().toImage();

        // A tab added later gets a skinned mark too.
        tabs->addTab("新页面");
        auto *later = qobject_cast<QAbstractButton *>(tabs->tabButton(tabs->count() - 1, QTabBar::RightSide));
        QTRY_VERIFY(later->isVisible() || !later->isHidden());
        QCOMPARE(later->grab().toImage(), mark);

        RunAction(SkinAction::Deactivate);
        QVERIFY(close->grab().toImage() != mark);
        QVERIFY(scroll->grab().toImage() != skinnedScroll);
    }

    void sizeGripsLieInsideTheClientArea()
    {
        QDialog dialog;
        dialog.setSizeGripEnabled(true);
        dialog.resize(300, 200);
        Form f;
        f.status->setSizeGripEnabled(true);
        dialog.show();
        f.show();
        QTRY_VERIFY(IsReady(&dialog) && IsReady(&f));
        // The dialog's grip would cover the frame's corner, which sizes the window itself.
        auto *cornerGrip = dialog.findChild<QSizeGrip *>();
        QVERIFY(cornerGrip && cornerGrip->isHidden());
        // The status bar's grip: ridges in the skin's colours down to its corner.
        auto *barGrip = f.status->findChild<QSizeGrip *>();
        QVERIFY(barGrip && barGrip->isVisible() && AnswersSkinQuery(barGrip));
        const QImage shown = barGrip->grab().toImage();
        const SkinColourTable &c = data_->Model().Colours;
        const QPoint corner = barGrip->rect().bottomRight();
        QCOMPARE(shown.pixelColor(corner - QPoint(1, 0)), ToQColor(c.ButtonShadow));
        QCOMPARE(shown.pixelColor(corner - QPoint(0, 3)), ToQColor(c.ButtonHilight));
        QCOMPARE(shown.pixelColor(0, 0), ToQColor(c.ButtonFace));

        RunAction(SkinAction::Deactivate);
        QVERIFY(!cornerGrip->isHidden());
    }

    void disabledGroupKeepsItsButtonsPlain()
    {
        QWidget form;
        auto *layout = new QVBoxLayout(&form);
        auto *group = new QGroupBox("选项", &form);
        MarkNoSkin(group);
        auto *inside = new QRadioButton("甲", group);
        (new QVBoxLayout(group))->addWidget(inside);
        auto *outside = new QRadioButton("乙", &form);
        layout->addWidget(group);
        layout->addWidget(outside);
        form.show();
        QTRY_VERIFY(IsReady(&form));
        QVERIFY(!AnswersSkinQuery(group));
        QVERIFY(!AnswersSkinQuery(inside));
        QVERIFY(IsMarkedNoSkin(inside));
        QVERIFY(AnswersSkinQuery(outside));
    }

    void theTagPropertyIsLeftToTheProgram()
    {
        // The numbers once kept in Tag for the skin mean nothing to it now.
        Form f;
        f.setProperty("Tag", 99);
        f.button->setProperty("Tag", 99);
        f.edit->setProperty("Tag", 5555);
        f.show();
        QTRY_VERIFY(IsReady(&f));
        QVERIFY(AnswersSkinQuery(f.button));
        QVERIFY(AnswersSkinQuery(f.edit));
        QVERIFY(!IsMarkedTransparent(f.edit));
    }

    void aTransparentBoxIsDrawnOnItsParent()
    {
        QWidget form;
        auto *panel = new QWidget(&form);
        QPalette red = panel->palette();
        red.setColor(QPalette::Window, QColor(200, 30, 30));
        panel->setPalette(red);
        auto *plainBox = new QCheckBox("甲", panel);
        auto *seeThrough = new QCheckBox("乙", panel);
        MarkTransparent(seeThrough);
        auto *inPanel = new QVBoxLayout(panel);
        inPanel->addWidget(plainBox);
        inPanel->addWidget(seeThrough);
        (new QVBoxLayout(&form))->addWidget(panel);
        form.resize(300, 120);
        form.show();
        QTRY_VERIFY(IsReady(&form));
        QVERIFY(AnswersSkinQuery(seeThrough));
        // Beyond the caption: the background the box was filled with.
        const auto background = [](QWidget *w) {
            return w->grab().toImage().pixelColor(w->width() - 2, w->height() / 2);
        };
        QCOMPARE(background(seeThrough), QColor(200, 30, 30));
        QCOMPARE(background(plainBox), ToQColor(data_->Model().Colours.ButtonFace));
    }

    void theApplicationMayChooseAControlsPainter()
    {
        QString offered;
        data_->OnSkinControl = [&offered](QObject *, SkinData *, QWidget *, QWidget *control,
                                          const QString &name, QObject *&chosen) {
            if (name == "QLINEEDIT") {
                offered = name;
                chosen = new SkinnedPanel(control);
            }
        };
        Form f;
        f.show();
        QTRY_VERIFY(IsReady(&f));
        data_->OnSkinControl = nullptr;
        QCOMPARE(offered, QString("QLINEEDIT"));
        QVERIFY(qobject_cast<SkinnedPanel *>(PainterOf(&f)->controls().find(f.edit)));
        QVERIFY(qobject_cast<SkinnedButton *>(PainterOf(&f)->controls().find(f.button)));
    }

private:
    static QObject *Owner(QScrollBar *bar)
    {
        for (QObject *o : bar->parent()->parent()->findChildren<QObject *>())
            if (auto *skin = qobject_cast<SkinnedScrollBar *>(o); skin && skin->control() == bar)
                return skin;
        return nullptr;
    }
};

QTEST_MAIN(SkinnedControlsTest)
#include "skinned_controls_test.moc"
