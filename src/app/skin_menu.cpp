#include "app/skin_menu.h"

#include "app/builtin_skin.h"
#include "app/error_box.h"
#include "skin/data/skin_data.h"

#include <QActionGroup>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

namespace qasp::app {
namespace {

// The name a skin gives itself, or none when the file is no usable skin.
QString SkinNameOf(const QString &path)
{
    skin::SkinData probe;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    probe.SetSkinStream(file.readAll().toStdString());
    if (probe.NoSkin())
        return {};
    const QString name = QString::fromStdString(probe.Model().SkinName);
    return name.isEmpty() ? QFileInfo(path).completeBaseName() : name;
}

}  // namespace

SkinMenu::SkinMenu(skin::SkinData *skinData, QWidget *parent)
    : QMenu(QStringLiteral("皮肤(&K)"), parent), skinData_(skinData)
{
    setObjectName("SkinMenu");
    // The skin files are looked for when the menu opens, not at start-up.
    connect(this, &QMenu::aboutToShow, this, [this] { Rebuild(true); });
    Rebuild(false);
}

QString SkinMenu::NameOf(const QFileInfo &file)
{
    // Each file is read once while it stays unchanged.
    const QString path = file.canonicalFilePath();
    if (path.isEmpty())
        return {};  // no such file
    const auto known = names_.constFind(path);
    if (known != names_.constEnd() && known->first == file.lastModified())
        return known->second;
    const QString name = SkinNameOf(path);
    names_.insert(path, {file.lastModified(), name});
    return name;
}

QStringList SkinMenu::SkinFolders()
{
    QStringList folders;
    const QString exe = QCoreApplication::applicationDirPath();
    // Installed beside the program, then the user's and the system's data
    // folders, then a build tree's own skins.
    folders << QDir::cleanPath(exe + "/../share/quillmere-asp/skins");
    folders << QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, "quillmere-asp/skins",
                                         QStandardPaths::LocateDirectory);
    folders << QDir::cleanPath(exe + "/../skins");
    folders.removeDuplicates();
    return folders;
}

void SkinMenu::Rebuild(bool withFoundSkins)
{
    clear();
    auto *group = new QActionGroup(this);
    const bool on = skinData_->Active() && !skinData_->NoSkin();
    const QString current = QFileInfo(skinData_->SkinFile()).canonicalFilePath();

    QAction *builtin = addAction(QStringLiteral("内置皮肤(&B)"), this, &SkinMenu::UseBuiltinSkin);
    builtin->setCheckable(true);
    builtin->setChecked(on && skinData_->SkinFile().isEmpty());
    group->addAction(builtin);

    QStringList seen;
    for (const QString &folder : withFoundSkins ? SkinFolders() : QStringList())
        for (const QFileInfo &file : QDir(folder).entryInfoList({"*.skin"}, QDir::Files, QDir::Name)) {
            const QString path = file.canonicalFilePath();
            const QString name = NameOf(file);
            if (name.isEmpty() || seen.contains(file.fileName()))
                continue;
            seen << file.fileName();
            QAction *action = addAction(name, this, [this, path] { UseSkinFile(path); });
            action->setCheckable(true);
            action->setChecked(on && path == current);
            action->setToolTip(path);
            group->addAction(action);
        }

    addSeparator();
    addAction(QStringLiteral("打开皮肤文件(&O)..."), this, [this] {
        const QString path = QFileDialog::getOpenFileName(parentWidget(), QStringLiteral("打开皮肤文件"), QString(),
                                                          QStringLiteral("皮肤文件 (*.skin);;所有文件 (*)"));
        if (!path.isEmpty())
            UseSkinFile(path);
    });
    addSeparator();
    QAction *off = addAction(QStringLiteral("不使用皮肤(&N)"), this, &SkinMenu::TurnSkinOff);
    off->setCheckable(true);
    off->setChecked(!on);
    group->addAction(off);
}

void SkinMenu::UseBuiltinSkin()
{
    skinData_->UseSkinStream(BuiltinSkinStream());
    skinData_->SetActive(true);
}

bool SkinMenu::UseSkinFile(const QString &path)
{
    if (NameOf(QFileInfo(path)).isEmpty()) {
        ShowFallbackBox(parentWidget(), QStringLiteral("无法使用皮肤文件：%1\n它不是本程序的皮肤，或已损坏。")
                                            .arg(QDir::toNativeSeparators(path)));
        return false;
    }
    skinData_->SetSkinFile(path);
    skinData_->SetActive(true);
    return true;
}

void SkinMenu::TurnSkinOff()
{
    skinData_->SetActive(false);
}

}  // namespace qasp::app
