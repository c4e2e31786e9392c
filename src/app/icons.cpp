#include "app/icons.h"

#include <QString>

namespace qasp::app {

QIcon CicoIcon(int index)
{
    if (index < 0 || index >= kCicoCount)
        return {};
    return QIcon(QString(":/icons/cico/%1.png").arg(index, 2, 10, QLatin1Char('0')));
}

QIcon HListIcoIcon(int index)
{
    if (index < 0 || index >= kHListIcoCount)
        return {};
    return QIcon(QString(":/icons/hlistico/%1.png").arg(index));
}

QIcon ProgramIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QString(":/icons/app/quillmere-asp-%1.png").arg(size), QSize(size, size));
    return icon;
}

}  // namespace qasp::app
