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
    : QMenu(QStringLiteral("皮肤(&K)"), parent),
      skinData_(skinData)
{
    setObjectName("skinMenu");
    // The skin files are looked for when the menu opens, not at start-up.
    connect(this, &QMenu::aboutToShow, this, [this] { rebuild(true); });
    rebuild(false);
}

QString SkinMenu::nameOf(const QFileInfo &file)
{
    // Each file is read once while it stays unchanged.
    const QString path = file.canonicalFilePath();
    if (path.isEmpty())
        return {};  // no such file
    const auto known = names_.constFind(path);
    if (known != names_.constEnd() && known->first == file.lastModified())
        return known->second;
    QString name = SkinNameOf(path);
    names_.insert(path, {file.lastModified(), name});
    return name;
}

QStringList SkinMenu::skinFolders()
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

void SkinMenu::rebuild(bool withFoundSkins)
{
    clear();
    auto *group = new QActionGroup(this);
    const bool on = skinData_->Active() && !skinData_->NoSkin();
    const QString current = QFileInfo(skinData_->SkinFile()).canonicalFilePath();

    QAction *builtin = addAction(QStringLiteral("内置皮肤(&B)"), this, &SkinMenu::useBuiltinSkin);
    builtin->setCheckable(true);
    builtin->setChecked(on && skinData_->SkinFile().isEmpty());
    group->addAction(builtin);

    QStringList seen;
    for (const QString &folder : withFoundSkins ? skinFolders() : QStringList())
        for (const QFileInfo &file : QDir(folder).entryInfoList({"*.skin"}, QDir::Files, QDir::Name)) {
            const QString path = file.canonicalFilePath();
            const QString name = nameOf(file);
            if (name.isEmpty() || seen.contains(file.fileName()))
                continue;
            seen << file.fileName();
            QAction *action = addAction(name, this, [this, path] { useSkinFile(path); });
            action->setCheckable(true);
            action->setChecked(on && path == current);
            action->setToolTip(path);
            group->addAction(action);
        }

    addSeparator();
    addAction(QStringLiteral("打开皮肤文件(&O)..."), this, [this] {
        const QString path =
            QFileDialog::getOpenFileName(parentWidget(), QStringLiteral("打开皮肤文件"), QString(),
                                         QStringLiteral("皮肤文件 (*.skin);;所有文件 (*)"));
        if (!path.isEmpty())
            useSkinFile(path);
    });
    addSeparator();
    QAction *off = addAction(QStringLiteral("不使用皮肤(&N)"), this, &SkinMenu::turnSkinOff);
    off->setCheckable(true);
    off->setChecked(!on);
    group->addAction(off);
}

void SkinMenu::useBuiltinSkin()
{
    skinData_->UseSkinStream(BuiltinSkinStream());
    skinData_->SetActive(true);
}

bool SkinMenu::useSkinFile(const QString &path)
{
    if (nameOf(QFileInfo(path)).isEmpty()) {
        ShowFallbackBox(parentWidget(), QStringLiteral("无法使用皮肤文件：%1\n它不是本程序的皮肤，或已损坏。")
                                            .arg(QDir::toNativeSeparators(path)));
        return false;
    }
    skinData_->SetSkinFile(path);
    skinData_->SetActive(true);
    return true;
}

void SkinMenu::turnSkinOff()
{
    skinData_->SetActive(false);
}

}  // namespace qasp::app
