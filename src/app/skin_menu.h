// The 皮肤 menu: the built-in skin, the skin files found beside the
// program, any other skin file, or no skin at all, switched live.
#pragma once

#include <QDateTime>
#include <QFileInfo>
#include <QHash>
#include <QMenu>
#include <QString>
#include <QStringList>

namespace qasp::skin {
class SkinData;
}

namespace qasp::app {

class SkinMenu : public QMenu {
    Q_OBJECT
public:
    SkinMenu(skin::SkinData *skinData, QWidget *parent);

    // Folders searched for *.skin files, in order.
    static QStringList skinFolders();

    void useBuiltinSkin();
    // Loads a skin file; a file that is not a usable skin changes nothing
    // and says why.
    bool useSkinFile(const QString &path);
    void turnSkinOff();

private:
    void rebuild(bool withFoundSkins);
    QString nameOf(const QFileInfo &file);

    skin::SkinData *skinData_;
    QHash<QString, std::pair<QDateTime, QString>> names_;  // by canonical path
};

}  // namespace qasp::app
