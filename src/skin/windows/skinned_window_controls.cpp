// The frame painter's controls: classifying every control of the window,
// creating the object that paints it, and letting them all go again.
#include "skin/windows/skinned_window.h"

#include "skin/data/skin_data.h"
#include "skin/windows/control_classification.h"
#include "skin/windows/skinned_button.h"
#include "skin/windows/skinned_check_box.h"
#include "skin/windows/skinned_edit.h"
#include "skin/windows/skin_events.h"
#include "skin/windows/skinned_header.h"
#include "skin/windows/skinned_panels.h"
#include "skin/windows/skinned_ranges.h"
#include "skin/windows/skinned_scroll_bar.h"
#include "skin/windows/skinned_menu_bar.h"

#include <QAbstractScrollArea>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTabWidget>
#include <QToolBar>

namespace qasp::skin {
namespace {

ControlFacts FactsOf(QWidget *w, const SkinnedWindow &painter)
{
    ControlFacts f;
    for (const QMetaObject *m = w->metaObject(); m; m = m->superClass())
        f.Classes << QString::fromLatin1(m->className());
    f.Tag = w->property("Tag").toInt();
    f.HasParent = w->parentWidget() != nullptr;
    f.AnswersQuery = AnswersSkinQuery(w);
    f.AlreadySkinned = painter.FindSkinControl(w) != nullptr;
    if (auto *button = qobject_cast<QPushButton *>(w))
        f.HasPicture = !button->icon().isNull();
    f.InToolBar = qobject_cast<QToolBar *>(w->parentWidget()) != nullptr;
    // A scrolling control's bars sit in a container of its own.
    for (QWidget *p = w->parentWidget(); p && p != w->window(); p = p->parentWidget())
        if (qobject_cast<QAbstractScrollArea *>(p)) {
            f.InScrollArea = qobject_cast<QScrollBar *>(w) != nullptr;
            break;
        }
    if (auto *edit = qobject_cast<QLineEdit *>(w))
        f.HasBorder = edit->hasFrame();
    if (auto *stack = qobject_cast<QStackedWidget *>(w->parentWidget()))
        f.IsTabPage = qobject_cast<QTabWidget *>(stack->parentWidget()) != nullptr;
    return f;
}

SkinnedControl *CreateSkinControl(SkinControlKind kind, QWidget *w)
{
    using K = SkinControlKind;
    switch (kind) {
    case K::Button:
    case K::BitmapButton: return new SkinnedButton(w);
    case K::ToolButton: return new SkinnedToolButton(w);
    case K::CheckBox: return new SkinnedCheckBox(w);
    case K::RadioButton: return new SkinnedRadioButton(w);
    case K::ComboBox: return new SkinnedComboBox(w);
    case K::LineEdit: return new SkinnedLineEdit(w);
    case K::SpinBox: return new SkinnedSpinBox(w);
    case K::ProgressBar: return new SkinnedProgressBar(w);
    case K::Slider: return new SkinnedSlider(w);
    case K::TabBar: return qobject_cast<QTabBar *>(w) ? new SkinnedTabBar(w) : nullptr;
    case K::StatusBar: return new SkinnedStatusBar(w);
    case K::GroupBox: return new SkinnedGroupBox(w);
    case K::TabPage:
    case K::Panel: return new SkinnedPanel(w);
    case K::SizeGrip: return new SkinnedSizeGrip(w);
    case K::ScrollArea:
    case K::ListView: return qobject_cast<QAbstractScrollArea *>(w) ? new SkinnedScrollArea(w) : nullptr;
    case K::ScrollBar: return qobject_cast<QScrollBar *>(w) ? new SkinnedScrollBar(static_cast<QScrollBar *>(w)) : nullptr;
    case K::Header: return qobject_cast<QHeaderView *>(w) ? new SkinnedHeader(static_cast<QHeaderView *>(w)) : nullptr;
    case K::MenuBar: return qobject_cast<QMenuBar *>(w) ? new SkinnedMenuBar(static_cast<QMenuBar *>(w)) : nullptr;
    case K::None: return nullptr;
    }
    return nullptr;
}

}  // namespace

bool SkinnedWindow::AddSkinControl(SkinnedControl *control)
{
    for (const QPointer<SkinnedControl> &c : SkinControlList)
        if (c == control)
            return true;
    SkinControlList.emplace_back(control);
    return false;
}

void SkinnedWindow::RemoveSkinControl(SkinnedControl *control)
{
    std::erase_if(SkinControlList, [control](const QPointer<SkinnedControl> &c) { return !c || c == control; });
}

SkinnedControl *SkinnedWindow::FindSkinControl(const QWidget *control) const
{
    for (const QPointer<SkinnedControl> &c : SkinControlList)
        if (c && c->isAttached() && (c->control() == control || c->parent() == control))
            return c;
    return nullptr;
}

void SkinnedWindow::ClassifyControls(QWidget *form)
{
    ClassifyChildren(form, false);
}

void SkinnedWindow::ClassifyChildWindows(QWidget *window)
{
    ClassifyChildren(window, true);
}

void SkinnedWindow::ClassifyChildren(QWidget *parent, bool bareWindow)
{
    classified_.emplace_back(parent);
    for (QWidget *child : parent->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        if (!child->isWindow())
            ClassifyOne(child, bareWindow);
}

void SkinnedWindow::ClassifyOne(QWidget *w, bool bareWindow)
{
    if (!skinData_)
        return;
    const ControlFacts facts = FactsOf(w, *this);
    const QString className = facts.Classes.front();
    // A disabled group passes its tag on, so its buttons stay plain too.
    if (!bareWindow && facts.Tag == skinData_->DisableTag && PassesTagToButtons(className))
        for (QWidget *child : w->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            child->setProperty("Tag", skinData_->DisableTag);
    // The application's own choice comes first.
    if (!bareWindow && skinData_->OnSkinControl && facts.Tag != skinData_->DisableTag && !facts.AnswersQuery &&
        !facts.AlreadySkinned) {
        QObject *chosen = nullptr;
        skinData_->OnSkinControl(this, skinData_, window_, w, className.toUpper(), chosen);
        if (auto *control = qobject_cast<SkinnedControl *>(chosen)) {
            if (!control->parent())
                control->setParent(w);  // the engine's, like its own choices
            if (!AddSkinControl(control)) {
                RemoveSkinControl(control);  // attaching adds it again
                control->attach(this, skinData_, false);
            }
            if (w->inherits("QFrame") && !w->inherits("QAbstractScrollArea"))
                ClassifyChildren(w, false);
            return;
        }
    }
    const SkinModel &model = skinData_->Model();
    const ControlClass c = bareWindow ? ClassifyChildWindow(facts)
                                      : ClassifyControl(facts, skinData_->SkinControls, skinData_->DisableTag,
                                                        skinData_->Skin3rdKind(className),
                                                        model.Tabs && !model.Tabs->Bitmap.isNull());
    if (SkinnedControl *control = CreateSkinControl(c.Kind, w)) {
        control->setParent(w);  // freed with its control at the latest
        if (bareWindow)
            control->attachInDialog(this, skinData_);
        else
            control->attach(this, skinData_, c.WithBackground);
        // A tree or table view's header is part of it.
        if (c.Kind == SkinControlKind::ScrollArea || c.Kind == SkinControlKind::ListView)
            for (QHeaderView *header : w->findChildren<QHeaderView *>(Qt::FindDirectChildrenOnly))
                if (!bareWindow && skinData_->Has(xcPanel))
                    ClassifyOne(header, false);
    }
    if (c.ClassifyChildren)
        ClassifyChildren(w, bareWindow);
}

void SkinnedWindow::ClassifyLateControl(QWidget *control)
{
    if (State != kReady || control->isWindow() || FindSkinControl(control))
        return;
    for (const QPointer<QWidget> &container : classified_)
        if (container && container == control->parentWidget()) {
            ClassifyOne(control, !FormControl);
            return;
        }
}

void SkinnedWindow::ReleaseControls()
{
    // Each object gives its control back as it goes.
    const std::vector<QPointer<SkinnedControl>> controls = std::move(SkinControlList);
    SkinControlList.clear();
    for (const QPointer<SkinnedControl> &c : controls)
        if (c) {
            c->detach();  // while it is whole: a destructor cannot reach the member's own part
            delete c.data();
        }
    classified_.clear();
}

}  // namespace qasp::skin
