#pragma once

#include "version.h"

#include <QString>

namespace qasp::app {

inline QString ApplicationTitle()
{
    return QStringLiteral("QuillmereASP网站制作软件V" QASP_VERSION_SHORT);
}
inline QString MainWindowCaption()
{
    return QStringLiteral("QuillmereASP编辑器 V" QASP_VERSION_SHORT " (For VBScript)");
}

}  // namespace qasp::app
