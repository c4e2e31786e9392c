// The frame painter's controls: classifying every control of the window,
// creating the object that paints it, and letting them all go again.
#include "skin/windows/win_skin_form.h"

#include "skin/data/skin_data.h"
#include "skin/windows/control_classification.h"
#include "skin/windows/skin_button.h"
#include "skin/windows/skin_check_box.h"
#include "skin/windows/skin_edit.h"
#include "skin/windows/skin_events.h"
#include "skin/windows/skin_header.h"
#include "skin/windows/skin_panels.h"
#include "skin/windows/skin_ranges.h"
#include "skin/windows/skin_scrollbar.h"
#include "skin/windows/win_skin_menu.h"

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

ControlFacts FactsOf(QWidget *w, const TWinSkinForm &painter)
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

TSkinControl *CreateSkinControl(SkinControlKind kind, QWidget *w)
{
    using K = SkinControlKind;
    switch (kind) {
    case K::Button:
    case K::BitButton: return new TSkinButton(w);
    case K::SpeedButton: return new TSkinSpeedButton(w);
    case K::CheckBox: return new TSkinCheckBox(w);
    case K::RadioButton: return new TSkinRadioButton(w);
    case K::ComBox: return new TSkinComBox(w);
    case K::Edit: return new TSkinEdit(w);
    case K::UpDown: return new TSkinUpDown(w);
    case K::Progress: return new TSkinProgress(w);
    case K::TrackBar: return new TSkinTrackBar(w);
    case K::Tab: return qobject_cast<QTabBar *>(w) ? new TSkinTab(w) : nullptr;
    case K::StatusBar: return new TSkinStatusBar(w);
    case K::GroupBox: return new TSkinGroupBox(w);
    case K::TabSheet:
    case K::Box: return new TSkinBox(w);
    case K::Sizer: return new TSkinSizer(w);
    case K::Scrollbar:
    case K::ListView: return qobject_cast<QAbstractScrollArea *>(w) ? new TSkinScrollbar(w) : nullptr;
    case K::ScControl: return qobject_cast<QScrollBar *>(w) ? new TWScrollbar(static_cast<QScrollBar *>(w)) : nullptr;
    case K::Header: return qobject_cast<QHeaderView *>(w) ? new TSkinHeader(static_cast<QHeaderView *>(w)) : nullptr;
    case K::MenuBar: return qobject_cast<QMenuBar *>(w) ? new TWinSkinMenu(static_cast<QMenuBar *>(w)) : nullptr;
    case K::None: return nullptr;
    }
    return nullptr;
}

}  // namespace

bool TWinSkinForm::AddSkinControl(TSkinControl *control)
{
    for (const QPointer<TSkinControl> &c : SkinControlList)
        if (c == control)
            return true;
    SkinControlList.emplace_back(control);
    return false;
}

void TWinSkinForm::RemoveSkinControl(TSkinControl *control)
{
    std::erase_if(SkinControlList, [control](const QPointer<TSkinControl> &c) { return !c || c == control; });
}

TSkinControl *TWinSkinForm::FindSkinControl(const QWidget *control) const
{
    for (const QPointer<TSkinControl> &c : SkinControlList)
        if (c && c->State == TSkinControl::kAttached && (c->Window() == control || c->parent() == control))
            return c;
    return nullptr;
}

void TWinSkinForm::ClassifyControls(QWidget *form)
{
    ClassifyChildren(form, false);
}

void TWinSkinForm::ClassifyChildWindows(QWidget *window)
{
    ClassifyChildren(window, true);
}

void TWinSkinForm::ClassifyChildren(QWidget *parent, bool bareWindow)
{
    classified_.emplace_back(parent);
    for (QWidget *child : parent->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        if (!child->isWindow())
            ClassifyOne(child, bareWindow);
}

void TWinSkinForm::ClassifyOne(QWidget *w, bool bareWindow)
{
    if (!SkinData)
        return;
    const ControlFacts facts = FactsOf(w, *this);
    const QString className = facts.Classes.front();
    // A disabled group passes its tag on, so its buttons stay plain too.
    if (!bareWindow && facts.Tag == SkinData->DisableTag && PassesTagToButtons(className))
        for (QWidget *child : w->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            child->setProperty("Tag", SkinData->DisableTag);
    // The application's own choice comes first.
    if (!bareWindow && SkinData->OnSkinControl && facts.Tag != SkinData->DisableTag && !facts.AnswersQuery &&
        !facts.AlreadySkinned) {
        QObject *chosen = nullptr;
        SkinData->OnSkinControl(this, SkinData, window_, w, className.toUpper(), chosen);
        if (auto *control = qobject_cast<TSkinControl *>(chosen)) {
            if (!control->parent())
                control->setParent(w);  // the engine's, like its own choices
            if (!AddSkinControl(control)) {
                RemoveSkinControl(control);  // attaching adds it again
                control->AttachControl(this, SkinData, control->WithBackground);
            }
            if (w->inherits("QFrame") && !w->inherits("QAbstractScrollArea"))
                ClassifyChildren(w, false);
            return;
        }
    }
    const SkinModel &model = SkinData->Model();
    const ControlClass c = bareWindow ? ClassifyChildWindow(facts)
                                      : ClassifyControl(facts, SkinData->SkinControls, SkinData->DisableTag,
                                                        SkinData->Skin3rdKind(className),
                                                        model.Tabs && !model.Tabs->Bitmap.isNull());
    if (TSkinControl *control = CreateSkinControl(c.Kind, w)) {
        control->setParent(w);  // freed with its control at the latest
        if (bareWindow)
            control->AttachWindow(this, SkinData);
        else
            control->AttachControl(this, SkinData, c.WithBackground);
        // A tree or table view's header is part of it.
        if (c.Kind == SkinControlKind::Scrollbar || c.Kind == SkinControlKind::ListView)
            for (QHeaderView *header : w->findChildren<QHeaderView *>(Qt::FindDirectChildrenOnly))
                if (!bareWindow && SkinData->Has(xcPanel))
                    ClassifyOne(header, false);
    }
    if (c.ClassifyChildren)
        ClassifyChildren(w, bareWindow);
}

void TWinSkinForm::ClassifyLateControl(QWidget *control)
{
    if (State != kReady || control->isWindow() || FindSkinControl(control))
        return;
    for (const QPointer<QWidget> &container : classified_)
        if (container && container == control->parentWidget()) {
            ClassifyOne(control, !FormControl);
            return;
        }
}

void TWinSkinForm::ReleaseControls()
{
    // Each object gives its control back as it goes.
    const std::vector<QPointer<TSkinControl>> controls = std::move(SkinControlList);
    SkinControlList.clear();
    for (const QPointer<TSkinControl> &c : controls)
        if (c) {
            c->Detach();  // while it is whole: a destructor cannot reach the member's own part
            delete c.data();
        }
    classified_.clear();
}

}  // namespace qasp::skin
