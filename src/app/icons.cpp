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

}  // namespace qasp::app
