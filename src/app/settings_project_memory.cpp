#include "app/settings_project_memory.h"

#include "app/path_text.h"

#include <QCryptographicHash>
#include <QFile>
#include "app/app_settings.h"
#include <QStringList>

namespace qasp::app {
namespace {

std::filesystem::path PathOf(const QString &text)
{
    return {QFile::encodeName(text).toStdString()};
}

// A settings group per page; its key is a hash, since a path's slashes
// would be read as nested groups.
QString GroupOf(const std::filesystem::path &rootFile)
{
    const QByteArray hash =
        QCryptographicHash::hash(QByteArray::fromStdString(rootFile.string()), QCryptographicHash::Sha1);
    return QStringLiteral("projects/") + QString::fromLatin1(hash.toHex().left(16));
}

constexpr int kRecentLimit = 10;

void WriteRecent(QSettings &settings, const std::vector<std::filesystem::path> &files)
{
    QStringList list;
    for (const auto &f : files)
        list << PathText(f);
    settings.setValue(QStringLiteral("recent"), list);
}

}  // namespace

std::optional<ProjectChoices> SettingsProjectMemory::Recall(const std::filesystem::path &rootFile) const
{
    AppSettings settings;
    settings.beginGroup(GroupOf(rootFile));
    if (settings.value(QStringLiteral("page")).toString() != PathText(rootFile))
        return std::nullopt;  // never seen, or a hash shared with another page
    ProjectChoices choices;
    const QString root = settings.value(QStringLiteral("siteRoot")).toString();
    if (!root.isEmpty())
        choices.siteRoot = PathOf(root);
    // One "encoding<TAB>file key" entry per file reopened in a chosen encoding.
    for (const QString &entry : settings.value(QStringLiteral("encodings")).toStringList()) {
        const qsizetype tab = entry.indexOf('\t');
        if (tab <= 0)
            continue;
        const QString name = entry.left(tab);
        const TextEncoding encoding = name == QLatin1String("utf-8") ? TextEncoding::Utf8 : TextEncoding::Gbk;
        choices.fileEncodings[entry.mid(tab + 1).toStdString()] = encoding;
    }
    return choices;
}

void SettingsProjectMemory::Remember(const std::filesystem::path &rootFile, const ProjectChoices &choices)
{
    AppSettings settings;
    settings.beginGroup(GroupOf(rootFile));
    settings.setValue(QStringLiteral("page"), PathText(rootFile));
    settings.setValue(QStringLiteral("siteRoot"),
                      choices.siteRoot.empty() ? QString() : PathText(choices.siteRoot));
    QStringList encodings;
    for (const auto &[key, encoding] : choices.fileEncodings)
        encodings << QStringLiteral("%1\t%2").arg(encoding == TextEncoding::Utf8 ? QStringLiteral("utf-8")
                                                                                 : QStringLiteral("gbk"),
                                                  QString::fromStdString(key));
    settings.setValue(QStringLiteral("encodings"), encodings);
    settings.endGroup();
    WriteRecent(settings, WithRecentFile(RecentFiles(), rootFile, kRecentLimit));
}

std::vector<std::filesystem::path> SettingsProjectMemory::RecentFiles() const
{
    std::vector<std::filesystem::path> files;
    for (const QString &f : AppSettings().value(QStringLiteral("recent")).toStringList())
        files.push_back(PathOf(f));
    return files;
}

void SettingsProjectMemory::Forget(const std::filesystem::path &rootFile)
{
    std::vector<std::filesystem::path> files = RecentFiles();
    std::erase(files, rootFile);
    AppSettings settings;
    WriteRecent(settings, files);
}

}  // namespace qasp::app
