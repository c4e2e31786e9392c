#pragma once

#include <QString>

namespace qasp::app {

inline QString ApplicationTitle() { return QStringLiteral("QuillmereASP网站制作软件V3.0"); }
inline QString MainWindowCaption() { return QStringLiteral("QuillmereASP编辑器 V3.0 (For VBScript)"); }

}  // namespace qasp::app
