#include "skin/windows/skin_manager.h"

#include "skin/data/skin_data.h"
#include "skin/windows/skin_events.h"
#include "skin/windows/skin_marks.h"
#include "skin/windows/skinned_popup_menu.h"
#include "skin/windows/skinned_window.h"

#include <QApplication>
#include <QMenu>
#include <QWidget>

#include <algorithm>

namespace qasp::skin {
namespace {

QString ClassNameOf(const QWidget *w)
{
    return QString::fromLatin1(w->metaObject()->className());
}

// Windows that are forms or dialog boxes; popups, tool tips and splash
// screens never get a frame.
bool IsFormWindow(const QWidget *w)
{
    const Qt::WindowType type = w->windowType();
    return type == Qt::Window || type == Qt::Dialog || type == Qt::Sheet;
}

}  // namespace

SkinManager::SkinManager()
{
    timer_.setInterval(250);
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &SkinManager::runPendingAction);
}

SkinManager::~SkinManager()
{
    state_ = SkinManagerState::Destroying;
    active_ = false;
    timer_.stop();
    if (hookInstalled_ && qApp)
        qApp->removeEventFilter(this);
    // Frame painters belong to their forms; only the list goes.
    windows_.clear();
    popups_.clear();
    frozen_.clear();
    skinData_.clear();
    clearInstance(this);
}

SkinManager *SkinManager::instance()
{
    return dynamic_cast<SkinManager *>(SkinManagerLink::instance());
}

void InstallSkinManager()
{
    SkinManagerLink::installFactory([]() -> SkinManagerLink * {
        auto *manager = new SkinManager;
        // Freed with the application, after every window.
        if (qApp)
            manager->setParent(qApp);
        return manager;
    });
}

void SkinManager::addSkinData(SkinData *data)
{
    skinData_.emplace_back(data);
    if (!mainSkinData_ && data->SkinFormtype == sfMainform)
        mainSkinData_ = data;
}

void SkinManager::removeSkinData(SkinData *data)
{
    std::erase_if(skinData_, [data](const QPointer<SkinData> &d) { return !d || d == data; });
    if (mainSkinData_ == data)
        mainSkinData_ = nullptr;
    if (pendingSkinData_ == data)
        pendingSkinData_ = nullptr;
}

void SkinManager::installHook()
{
    if (hookInstalled_ || !qApp)
        return;
    qApp->installEventFilter(this);
    hookInstalled_ = true;
}

void SkinManager::requestAction(SkinAction action, int intervalMs)
{
    pendingAction_ = action;
    timer_.setInterval(intervalMs);
    if (state_ != SkinManagerState::NotStarted) {
        timer_.start();
        return;
    }
    // No window has come up yet: windows are skinned as they do.
    if (action == SkinAction::Activate)
        active_ = true;
    else if (action == SkinAction::Deactivate)
        active_ = false;
}

void SkinManager::menuBarDropDownOpening()
{
    menuKind_ = kMenuBarDropDown;
}

bool SkinManager::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::Show && type != QEvent::Hide && type != QEvent::WindowActivate
        && type != QEvent::Polish)
        return false;
    if (!watched->isWidgetType())
        return false;
    auto *w = static_cast<QWidget *>(watched);
    if (type == QEvent::Polish) {
        // A control that comes into a skinned window after its set-up.
        if (!w->isWindow() && !windows_.empty())
            if (SkinnedWindow *painter = skinnedWindow(w->window()))
                painter->classifyLateControl(w);
        return false;
    }
    if (!w->isWindow())
        return false;
    // A popup is a skinned window's window menu by its mark, a menu-bar
    // drop-down when the skinned menu bar said so; any other popup is a
    // context menu.
    if (qobject_cast<QMenu *>(w)) {
        if (type == QEvent::Show) {
            skinPopupMenu(w);
        } else if (type == QEvent::Hide) {
            releasePopupMenu(w);
        }
        return false;
    }
    if (type == QEvent::Hide)
        return false;
    // A window shown counts as activated: without a window manager (a bare
    // X server) windows are never activated, and a shown window is skinned
    // before it reaches the screen.
    if (state_ == SkinManagerState::NotStarted)
        state_ = SkinManagerState::Running;
    skinWindow(w);
    return false;
}

QWidget *SkinManager::findFrameworkForm(QWidget *window) const
{
    return IsSystemDialogClass(ClassNameOf(window)) ? nullptr : window;
}

SkinData *SkinManager::chooseSkinData(const QWidget *window) const
{
    std::vector<SkinChoiceEntry> entries;
    std::vector<SkinData *> data;
    for (const QPointer<SkinData> &d : skinData_)
        if (d) {
            entries.push_back({d->SkinFormtype, d->parent() == window});
            data.push_back(d);
        }
    const int i = ChooseSkinIndex(entries, ClassNameOf(window));
    return i < 0 ? nullptr : data[static_cast<size_t>(i)];
}

bool SkinManager::skinWindow(QWidget *window)
{
    WindowRuleFacts facts;
    facts.Active = active_;
    QWidget *form = nullptr;
    SkinData *data = nullptr;
    if (facts.Active) {
        facts.AnswersQuery = AnswersSkinQuery(window);
        if (!facts.AnswersQuery) {
            purgeWindows();
            facts.HasPainter = skinnedWindow(window) != nullptr;
            form = findFrameworkForm(window);
            facts.Forcing = forcing_;
            facts.BelongsHere = IsFormWindow(window);
            facts.HasArea = !window->size().isEmpty();
            facts.HasFrameworkForm = form != nullptr;
            facts.MarkedNoSkin = form && IsMarkedNoSkin(form);
            facts.ClassName = ClassNameOf(window);
            facts.ClassAccepted = ClassAccepted(facts.ClassName, mainSkinData_);
            data = chooseSkinData(window);
            facts.SkinUsable = data && !data->NoSkin();
        }
    }
    lastVerdict_ = FirstFailingTest(facts);
    if (lastVerdict_ != WindowRuleTest::Passed)
        return false;
    auto *painter = new SkinnedWindow(window, form);
    painter->attach(data);
    windows_.emplace_back(painter);
    PostSkinMessage(window, kFinishSetupEvent, 0, 1000);
    return true;
}

void SkinManager::skinScreenForm(QWidget *form)
{
    if (!form->isVisible() || !form->isWindow())
        return;
    skinWindow(form);
}

bool SkinManager::skinPopupMenu(QWidget *menu)
{
    if (!active_ || AnswersSkinQuery(menu) || skinnedPopup(menu))
        return false;
    SkinData *data = chooseSkinData(menu);
    const int kind = IsWindowMenu(menu) ? kSystemMenuKind : menuKind_;
    if (!data || data->NoSkin() || !PopupKindAllowed(kind, data->SkinControls) || IsMarkedNoSkin(menu))
        return false;
    auto popup = std::make_unique<SkinnedPopupMenu>(menu, data, kind);
    popup->attach();
    popups_.push_back(std::move(popup));
    return true;
}

void SkinManager::releasePopupMenu(QWidget *menu)
{
    const auto it =
        std::find_if(popups_.begin(), popups_.end(), [menu](const auto &p) { return p->menu() == menu; });
    if (it != popups_.end()) {
        (*it)->detach();
        popups_.erase(it);
    }
    if (popups_.empty())
        menuKind_ = kContextMenu;
}

SkinnedWindow *SkinManager::skinnedWindow(const QWidget *window) const
{
    for (const QPointer<SkinnedWindow> &f : windows_)
        if (f && f->state() != SkinnedWindow::State::Dead && f->window() == window)
            return f;
    return nullptr;
}

SkinnedPopupMenu *SkinManager::skinnedPopup(const QWidget *menu) const
{
    for (const auto &p : popups_)
        if (p->menu() == menu)
            return p.get();
    return nullptr;
}

void SkinManager::forgetWindow(SkinnedWindow *painter)
{
    if (state_ == SkinManagerState::Destroying)
        return;
    // Only its own entry: the list is walked by index while painters go.
    std::erase_if(windows_, [painter](const QPointer<SkinnedWindow> &f) { return f == painter; });
}

void SkinManager::dropWindow(size_t index)
{
    SkinnedWindow *painter = windows_[index];
    windows_.erase(windows_.begin() + static_cast<std::ptrdiff_t>(index));
    delete painter;
}

void SkinManager::purgeWindows()
{
    if (state_ == SkinManagerState::Destroying)
        return;
    for (size_t i = windows_.size(); i-- > 0;) {
        // A painter freed behind the list's back has left a null entry.
        if (!windows_[i])
            windows_.erase(windows_.begin() + static_cast<std::ptrdiff_t>(i));
        else if (windows_[i]->state() == SkinnedWindow::State::Dead)
            dropWindow(i);
    }
}

void SkinManager::releaseSkinPieces()
{
    for (const QPointer<SkinnedWindow> &f : windows_)
        if (f && f->skinData() == pendingSkinData_) {
            f->dropCachedPieces();
            if (state_ == SkinManagerState::Running)
                freezeWindow(f->window());
        }
}

void SkinManager::freezeWindow(QWidget *window)
{
    if (!window || !window->updatesEnabled())
        return;
    window->setUpdatesEnabled(false);
    frozen_.emplace_back(window);
}

void SkinManager::thawWindows()
{
    std::vector<QPointer<QWidget>> frozen;
    frozen.swap(frozen_);
    for (const QPointer<QWidget> &w : frozen)
        if (w)
            w->setUpdatesEnabled(true);  // and one repaint of the whole window
}

void SkinManager::deactivate(SkinData *onlyThis)
{
    active_ = false;
    purgeWindows();
    for (size_t i = windows_.size(); i-- > 0;) {
        SkinnedWindow *f = windows_[i];
        if (onlyThis && f->skinData() != onlyThis)
            continue;
        f->detach();
        if (QWidget *w = f->window())
            w->update();
        dropWindow(i);
        if (onlyThis)
            return;
    }
}

void SkinManager::changeSkin(SkinData *data, bool onlyFirst)
{
    purgeWindows();
    std::vector<QPointer<SkinnedWindow>> users;
    for (const QPointer<SkinnedWindow> &f : windows_)
        if (f && f->skinData() == data) {
            users.push_back(f);
            if (onlyFirst)
                break;
        }
    for (const QPointer<SkinnedWindow> &f : users) {
        f->dropCachedPieces();
        f->recalcMetrics();
    }
    for (const QPointer<SkinnedWindow> &f : users)
        if (f)
            f->refreshAfterSkinChange();
}

void SkinManager::runPendingAction()
{
    timer_.stop();
    QPointer<SkinData> data = pendingSkinData_;
    if (!data) {
        thawWindows();
        return;
    }
    const bool onlyThisForm = data->SkinFormtype == sfOnlyThisForm;
    switch (pendingAction_) {
    case SkinAction::Activate: {
        active_ = true;
        forcing_ = true;
        purgeWindows();
        const QWidgetList forms = QApplication::topLevelWidgets();
        for (auto it = forms.rbegin(); it != forms.rend(); ++it)
            if (!onlyThisForm || *it == data->parent())
                skinScreenForm(*it);
        forcing_ = false;
        break;
    }
    case SkinAction::Deactivate: deactivate(onlyThisForm ? data.data() : nullptr); break;
    case SkinAction::SkinChanged: changeSkin(data, onlyThisForm); break;
    }
    thawWindows();
    if (data)
        data->SkinChanged();
    pendingSkinData_ = nullptr;
}

}  // namespace qasp::skin
