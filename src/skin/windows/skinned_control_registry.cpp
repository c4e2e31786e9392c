#include "skin/windows/skinned_control_registry.h"

#include "skin/data/skin_data.h"
#include "skin/windows/control_classification.h"
#include "skin/windows/skin_events.h"
#include "skin/windows/skin_marks.h"
#include "skin/windows/skinned_button.h"
#include "skin/windows/skinned_check_box.h"
#include "skin/windows/skinned_edit.h"
#include "skin/windows/skinned_header.h"
#include "skin/windows/skinned_menu_bar.h"
#include "skin/windows/skinned_panels.h"
#include "skin/windows/skinned_ranges.h"
#include "skin/windows/skinned_scroll_bar.h"

#include <QAbstractScrollArea>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTabWidget>
#include <QToolBar>

#include <algorithm>

namespace qasp::skin {
namespace {

ControlFacts FactsOf(QWidget *w, bool alreadySkinned)
{
    ControlFacts f;
    for (const QMetaObject *m = w->metaObject(); m; m = m->superClass())
        f.Classes << QString::fromLatin1(m->className());
    f.NoSkin = IsMarkedNoSkin(w);
    f.HasParent = w->parentWidget() != nullptr;
    f.AnswersQuery = AnswersSkinQuery(w);
    f.AlreadySkinned = alreadySkinned;
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

SkinnedControl *CreateSkinnedControl(SkinControlKind kind, QWidget *w)
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
    case K::ScrollBar:
        return qobject_cast<QScrollBar *>(w) ? new SkinnedScrollBar(static_cast<QScrollBar *>(w)) : nullptr;
    case K::Header:
        return qobject_cast<QHeaderView *>(w) ? new SkinnedHeader(static_cast<QHeaderView *>(w)) : nullptr;
    case K::MenuBar:
        return qobject_cast<QMenuBar *>(w) ? new SkinnedMenuBar(static_cast<QMenuBar *>(w)) : nullptr;
    case K::None: return nullptr;
    }
    return nullptr;
}

bool Contains(const std::vector<QPointer<QWidget>> &list, const QWidget *w)
{
    return std::any_of(list.begin(), list.end(), [w](const QPointer<QWidget> &p) { return p && p == w; });
}

}  // namespace

SkinnedControlRegistry::SkinnedControlRegistry(QWidget *window, bool inDialog, QObject *sender)
    : window_(window),
      inDialog_(inDialog),
      sender_(sender)
{
}

SkinnedControlRegistry::~SkinnedControlRegistry()
{
    forget();
}

bool SkinnedControlRegistry::add(SkinnedControl *control)
{
    for (const QPointer<SkinnedControl> &c : controls_)
        if (c == control)
            return true;
    controls_.emplace_back(control);
    return false;
}

void SkinnedControlRegistry::remove(SkinnedControl *control)
{
    std::erase_if(controls_, [control](const QPointer<SkinnedControl> &c) { return !c || c == control; });
}

SkinnedControl *SkinnedControlRegistry::find(const QWidget *control) const
{
    for (const QPointer<SkinnedControl> &c : controls_)
        if (c && c->isAttached() && (c->control() == control || c->parent() == control))
            return c;
    return nullptr;
}

bool SkinnedControlRegistry::wasClassified(const QWidget *w) const
{
    return Contains(classified_, w);
}

void SkinnedControlRegistry::classifyAll()
{
    if (window_)
        classifyChildren(window_);
}

void SkinnedControlRegistry::classifyChildren(QWidget *parent)
{
    containers_.emplace_back(parent);
    for (QWidget *child : parent->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        if (!child->isWindow())
            classify(child);
}

bool SkinnedControlRegistry::classifyLate(QWidget *control)
{
    if (control->isWindow() || find(control) || wasClassified(control)
        || !Contains(containers_, control->parentWidget()))
        return false;
    classify(control);
    return true;
}

bool SkinnedControlRegistry::offerToApplication(QWidget *w, const QString &className)
{
    QObject *chosen = nullptr;
    skinData_->OnSkinControl(sender_, skinData_, window_, w, className.toUpper(), chosen);
    auto *control = qobject_cast<SkinnedControl *>(chosen);
    if (!control)
        return false;
    if (!control->parent())
        control->setParent(w);  // the engine's, like its own choices
    const bool known = std::any_of(controls_.begin(), controls_.end(),
                                   [control](const QPointer<SkinnedControl> &c) { return c == control; });
    if (!known)
        control->attach(this, skinData_, false);
    if (w->inherits("QFrame") && !w->inherits("QAbstractScrollArea"))
        classifyChildren(w);
    return true;
}

void SkinnedControlRegistry::classify(QWidget *w)
{
    if (!skinData_)
        return;
    classified_.emplace_back(w);
    const ControlFacts facts = FactsOf(w, find(w) != nullptr);
    const QString className = facts.Classes.front();
    // A group kept plain passes its mark on, so its buttons stay plain too.
    if (!inDialog_ && facts.NoSkin && PassesNoSkinToButtons(className))
        for (QWidget *child : w->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            MarkNoSkin(child);
    // The application's own choice comes first.
    if (!inDialog_ && skinData_->OnSkinControl && !facts.NoSkin && !facts.AnswersQuery
        && !facts.AlreadySkinned && offerToApplication(w, className))
        return;
    const SkinModel &model = skinData_->Model();
    const ControlClass c =
        inDialog_ ? ClassifyChildWindow(facts)
                  : ClassifyControl(facts, skinData_->SkinControls, skinData_->Skin3rdKind(className),
                                    model.Tabs && !model.Tabs->Bitmap.isNull());
    if (SkinnedControl *control = CreateSkinnedControl(c.Kind, w)) {
        control->setParent(w);  // freed with its control at the latest
        if (inDialog_)
            control->attachInDialog(this, skinData_);
        else
            control->attach(this, skinData_, c.WithBackground);
        // A tree or table view's header is part of it.
        if (!inDialog_ && (c.Kind == SkinControlKind::ScrollArea || c.Kind == SkinControlKind::ListView)
            && skinData_->Has(xcPanel))
            for (QHeaderView *header : w->findChildren<QHeaderView *>(Qt::FindDirectChildrenOnly))
                classify(header);
    }
    if (c.ClassifyChildren)
        classifyChildren(w);
}

void SkinnedControlRegistry::updateFromSkin()
{
    for (const QPointer<SkinnedControl> &control : controls_)
        if (control)
            control->updateFromSkin();
}

void SkinnedControlRegistry::release()
{
    // Each object gives its control back as it goes.
    const std::vector<QPointer<SkinnedControl>> controls = std::move(controls_);
    controls_.clear();
    for (const QPointer<SkinnedControl> &c : controls)
        if (c) {
            c->detach();  // while it is whole: a destructor cannot reach the member's own part
            delete c.data();
        }
    containers_.clear();
    classified_.clear();
}

void SkinnedControlRegistry::forget()
{
    for (const QPointer<SkinnedControl> &c : controls_)
        if (c)
            c->leaveRegistry();
    controls_.clear();
    containers_.clear();
    classified_.clear();
}

}  // namespace qasp::skin
