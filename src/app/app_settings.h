// The program's settings file (~/.config/quillmere-asp/quillmere-asp.conf):
// recent files, the window's place, colours, editor options.
#pragma once

#include <QSettings>

namespace qasp::app {

// Named here rather than through the application's organisation name,
// which would also move the keyword store's data folder.
class AppSettings : public QSettings {
public:
    AppSettings() : QSettings(QStringLiteral("quillmere-asp"), QStringLiteral("quillmere-asp")) {}
};

}  // namespace qasp::app
