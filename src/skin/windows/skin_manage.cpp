#include "skin/windows/skin_manage.h"

#include "skin/data/skin_data.h"
#include "skin/windows/skin_events.h"
#include "skin/windows/win_skin_form.h"
#include "skin/windows/win_skin_pop_menu.h"

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

TSkinManage::TSkinManage()
{
    Timer.setInterval(250);
    Timer.setSingleShot(true);
    connect(&Timer, &QTimer::timeout, this, &TSkinManage::RunPendingAction);
}

TSkinManage::~TSkinManage()
{
    runState_ = kDestroying;
    active_ = false;
    Timer.stop();
    if (HookInstalled && qApp)
        qApp->removeEventFilter(this);
    // Frame painters belong to their forms; only the list goes.
    FormList.clear();
    PopupList.clear();
    SkinDataList.clear();
    ClearInstance(this);
}

TSkinManage *TSkinManage::Get()
{
    return dynamic_cast<TSkinManage *>(SkinManagerLink::Instance());
}

void InstallSkinManager()
{
    SkinManagerLink::InstallFactory([]() -> SkinManagerLink * {
        auto *manager = new TSkinManage;
        // Freed with the application, after every window.
        if (qApp)
            manager->setParent(qApp);
        return manager;
    });
}

void TSkinManage::AddSkinData(TSkinData *data)
{
    SkinDataList.emplace_back(data);
    if (!MainSkinData && data->SkinFormtype == sfMainform)
        MainSkinData = data;
}

void TSkinManage::RemoveSkinData(TSkinData *data)
{
    std::erase_if(SkinDataList, [data](const QPointer<TSkinData> &d) { return !d || d == data; });
    if (MainSkinData == data)
        MainSkinData = nullptr;
    if (PendingSkinData == data)
        PendingSkinData = nullptr;
}

void TSkinManage::InstallHook()
{
    if (HookInstalled || !qApp)
        return;
    qApp->installEventFilter(this);
    HookInstalled = true;
}

void TSkinManage::RequestAction(int action, int intervalMs)
{
    PendingAction = action;
    Timer.setInterval(intervalMs);
    if (runState_ != kNotStarted) {
        Timer.start();
        return;
    }
    // No window has come up yet: windows are skinned as they do.
    if (action == kActivate)
        active_ = true;
    else if (action == kDeactivate)
        active_ = false;
}

bool TSkinManage::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::Show && type != QEvent::Hide && type != QEvent::WindowActivate && type != QEvent::Polish)
        return false;
    if (!watched->isWidgetType())
        return false;
    auto *w = static_cast<QWidget *>(watched);
    if (type == QEvent::Polish) {
        // A control that comes into a skinned window after its set-up.
        if (!w->isWindow() && !FormList.empty())
            if (TWinSkinForm *painter = FindSkinForm(w->window()))
                painter->ClassifyLateControl(w);
        return false;
    }
    if (!w->isWindow())
        return false;
    // A popup's kind was set by whoever opened it (the skinned menu bar,
    // the window menu); any other popup is a context menu.
    if (qobject_cast<QMenu *>(w)) {
        if (type == QEvent::Show) {
            SkinPopupMenu(w);
        } else if (type == QEvent::Hide) {
            ReleasePopupMenu(w);
        }
        return false;
    }
    if (type == QEvent::Hide)
        return false;
    // A window shown counts as activated: without a window manager (a bare
    // X server) windows are never activated, and a shown window is skinned
    // before it reaches the screen.
    if (runState_ == kNotStarted)
        runState_ = kRunning;
    SkinWindow(w);
    return false;
}

QWidget *TSkinManage::FindFrameworkForm(QWidget *window) const
{
    return IsSystemDialogClass(ClassNameOf(window)) ? nullptr : window;
}

TSkinData *TSkinManage::ChooseSkinData(const QWidget *window) const
{
    std::vector<SkinChoiceEntry> entries;
    std::vector<TSkinData *> data;
    for (const QPointer<TSkinData> &d : SkinDataList)
        if (d) {
            entries.push_back({d->SkinFormtype, d->parent() == window});
            data.push_back(d);
        }
    const int i = ChooseSkinIndex(entries, ClassNameOf(window));
    return i < 0 ? nullptr : data[static_cast<size_t>(i)];
}

bool TSkinManage::SkinWindow(QWidget *window)
{
    WindowRuleFacts facts;
    facts.Active = active_;
    QWidget *form = nullptr;
    TSkinData *data = nullptr;
    if (facts.Active) {
        facts.AnswersQuery = AnswersSkinQuery(window);
        if (!facts.AnswersQuery) {
            PurgeForms();
            facts.HasPainter = FindSkinForm(window) != nullptr;
            form = FindFrameworkForm(window);
            facts.Forcing = Forcing;
            facts.BelongsHere = IsFormWindow(window);
            facts.HasArea = !window->size().isEmpty();
            facts.HasFrameworkForm = form != nullptr;
            facts.Tag = form ? form->property("Tag").toInt() : 0;
            facts.ClassName = ClassNameOf(window);
            facts.ClassAccepted = ClassAccepted(facts.ClassName, MainSkinData);
            data = ChooseSkinData(window);
            facts.SkinUsable = data && !data->NoSkin();
        }
    }
    LastVerdict = FirstFailingTest(facts);
    if (LastVerdict != WindowRuleTest::Passed)
        return false;
    auto *painter = new TWinSkinForm(window, form);
    painter->ModuleTag = ModuleTag;
    if (form)
        painter->AttachForm(data, form);
    else
        painter->AttachWindow(data);
    FormList.emplace_back(painter);
    PostSkinMessage(window, kFinishSetupEvent, 0, 1000);
    return true;
}

void TSkinManage::SkinScreenForm(QWidget *form)
{
    if (!form->isVisible() || !form->isWindow())
        return;
    SkinWindow(form);
}

bool TSkinManage::SkinPopupMenu(QWidget *window)
{
    if (!active_ || AnswersSkinQuery(window) || FindPopup(window))
        return false;
    TSkinData *data = ChooseSkinData(window);
    if (!data || data->NoSkin() || !PopupKindAllowed(MenuKind, data->SkinControls))
        return false;
    // A menu tagged with the component's DisableTag keeps the plain look.
    if (window->property("Tag").toInt() == data->DisableTag)
        return false;
    auto popup = std::make_unique<TWinSkinPopMenu>(window, data, MenuKind);
    popup->Attach();
    popup->MenuBarPopup = MenuBarTracking;
    PopupList.push_back(std::move(popup));
    return true;
}

void TSkinManage::ReleasePopupMenu(QWidget *window)
{
    const auto it = std::find_if(PopupList.begin(), PopupList.end(),
                                 [window](const auto &p) { return p->Window() == window; });
    if (it != PopupList.end()) {
        (*it)->Detach();
        PopupList.erase(it);
    }
    if (PopupList.empty()) {
        MenuBarTracking = false;
        MenuKind = kContextMenu;
    }
}

TWinSkinForm *TSkinManage::FindSkinForm(const QWidget *window) const
{
    for (const QPointer<TWinSkinForm> &f : FormList)
        if (f && f->State != TWinSkinForm::kDead && f->Window() == window)
            return f;
    return nullptr;
}

TWinSkinPopMenu *TSkinManage::FindPopup(const QWidget *window) const
{
    for (const auto &p : PopupList)
        if (p->Window() == window)
            return p.get();
    return nullptr;
}

void TSkinManage::ForgetWindow(TWinSkinForm *painter)
{
    if (runState_ == kDestroying)
        return;
    // Only its own entry: the lists are walked by index while painters go.
    std::erase_if(FormList, [painter](const QPointer<TWinSkinForm> &f) { return f == painter; });
}

void TSkinManage::DropForm(size_t index)
{
    TWinSkinForm *painter = FormList[index];
    FormList.erase(FormList.begin() + static_cast<std::ptrdiff_t>(index));
    delete painter;
}

void TSkinManage::PurgeForms()
{
    if (runState_ == kDestroying)
        return;
    for (size_t i = FormList.size(); i-- > 0;) {
        // A painter freed behind the list's back has left a null entry.
        if (!FormList[i])
            FormList.erase(FormList.begin() + static_cast<std::ptrdiff_t>(i));
        else if (FormList[i]->State == TWinSkinForm::kDead && FormList[i]->ModuleTag == ModuleTag)
            DropForm(i);
    }
}

void TSkinManage::FreeDeadForms()
{
    for (size_t i = FormList.size(); i-- > 0;)
        if (!FormList[i])
            FormList.erase(FormList.begin() + static_cast<std::ptrdiff_t>(i));
        else if (FormList[i]->State == TWinSkinForm::kDead)
            DropForm(i);
}

void TSkinManage::RefreshForms()
{
    for (const QPointer<TWinSkinForm> &f : FormList)
        if (f && f->SkinData == PendingSkinData)
            f->DropCachedPieces();
}

void TSkinManage::Deactivate(TSkinData *onlyThis)
{
    active_ = false;
    PurgeForms();
    for (size_t i = FormList.size(); i-- > 0;) {
        TWinSkinForm *f = FormList[i];
        if (onlyThis && f->SkinData != onlyThis)
            continue;
        f->Detach();
        if (QWidget *w = f->Window())
            w->update();
        DropForm(i);
        if (onlyThis)
            return;
    }
}

void TSkinManage::ChangeSkin(TSkinData *data, bool onlyFirst)
{
    PurgeForms();
    std::vector<QPointer<TWinSkinForm>> users;
    for (const QPointer<TWinSkinForm> &f : FormList)
        if (f && f->SkinData == data) {
            users.push_back(f);
            if (onlyFirst)
                break;
        }
    for (const QPointer<TWinSkinForm> &f : users) {
        f->DropCachedPieces();
        f->RecalcMetrics();
    }
    for (const QPointer<TWinSkinForm> &f : users)
        if (f)
            f->RefreshAfterSkinChange();
}

void TSkinManage::RunPendingAction()
{
    Timer.stop();
    QPointer<TSkinData> data = PendingSkinData;
    if (!data)
        return;
    const bool onlyThisForm = data->SkinFormtype == sfOnlyThisForm;
    switch (PendingAction) {
    case kActivate: {
        active_ = true;
        Forcing = true;
        PurgeForms();
        const QWidgetList forms = QApplication::topLevelWidgets();
        for (auto it = forms.rbegin(); it != forms.rend(); ++it)
            if (!onlyThisForm || *it == data->parent())
                SkinScreenForm(*it);
        Forcing = false;
        break;
    }
    case kDeactivate:
        Deactivate(onlyThisForm ? data.data() : nullptr);
        break;
    case kSkinChanged:
        ChangeSkin(data, onlyThisForm);
        break;
    case kPurgeDeadForms:
        FreeDeadForms();
        break;
    default:
        break;
    }
    if (data)
        data->SkinChanged();
    PendingSkinData = nullptr;
}

}  // namespace qasp::skin
