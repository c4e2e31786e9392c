#include "skin/windows/window_rule.h"

namespace qasp::skin {

WindowRuleTest FirstFailingTest(const WindowRuleFacts &f)
{
    using T = WindowRuleTest;
    if (!f.Active)
        return T::Active;
    if (f.AnswersQuery)
        return T::Query;
    if (f.HasPainter)
        return T::AlreadySkinned;
    if (!f.Forcing && f.IsMdiClientChild)
        return T::MdiClientChild;
    if (!f.BelongsHere)
        return T::BelongsHere;
    if (!f.HasArea && !f.IsMdiChild)
        return T::Area;
    if (f.HasFrameworkForm && f.MarkedNoSkin)
        return T::NoSkinMark;
    if (f.ClassName == QLatin1String("TApplication"))
        return T::Application;
    if (!f.ClassAccepted)
        return T::ClassFilter;
    if (!f.SkinUsable)
        return T::SkinUsable;
    return T::Passed;
}

bool ClassAccepted(const QString &className, const SkinData *main)
{
    if (!main)
        return true;
    if (!main->Has(xoPreview) && className.toLower().contains(QLatin1String("preview")))
        return false;
    bool doSkin = true;
    main->FormSkinQuery(className, doSkin);
    return doSkin;
}

bool IsSystemDialogClass(const QString &name)
{
    static const char *const kDialogs[] = {"QMessageBox", "QInputDialog",    "QFileDialog",  "QColorDialog",
                                           "QFontDialog", "QProgressDialog", "QErrorMessage"};
    for (const char *d : kDialogs)
        if (name == QLatin1String(d))
            return true;
    return false;
}

int ChooseSkinIndex(const std::vector<SkinChoiceEntry> &entries, const QString &className)
{
    const auto last = [&entries](auto test) {
        int found = -1;
        for (size_t i = 0; i < entries.size(); ++i)
            if (test(entries[i]))
                found = static_cast<int>(i);
        return found;
    };
    int i = last([](const SkinChoiceEntry &e) { return e.Type == sfOnlyThisForm && e.OwnerIsWindow; });
    if (i < 0 && IsSystemDialogClass(className))
        i = last([](const SkinChoiceEntry &e) { return e.Type == sfDialog; });
    if (i < 0)
        i = last([](const SkinChoiceEntry &e) { return e.Type == sfMainform; });
    if (i < 0 && !entries.empty())
        i = 0;
    return i;
}

bool PopupKindAllowed(int kind, uint32_t controls)
{
    const auto has = [controls](SkinControlBit t) { return (controls & (1u << t)) != 0; };
    switch (kind) {
    case kContextMenu: return has(xcPopupMenu);
    case kMenuBarDropDown: return has(xcMainMenu) || has(xcMenuItem);
    case kSystemMenuKind: return has(xcSystemMenu);
    default: return false;
    }
}

}  // namespace qasp::skin
