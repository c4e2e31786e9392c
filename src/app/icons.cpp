#include "app/icons.h"

#include <QString>

#include <vector>

namespace qasp::app {

// Each picture is read once: the tree asks for its icons on every paint,
// and a new icon each time would also fill the pixmap cache with copies.
QIcon CicoIcon(int index)
{
    if (index < 0 || index >= kCicoCount)
        return {};
    static const std::vector<QIcon> icons = [] {
        std::vector<QIcon> all;
        all.reserve(kCicoCount);
        for (int i = 0; i < kCicoCount; ++i)
            all.emplace_back(QString(":/icons/cico/%1.png").arg(i, 2, 10, QLatin1Char('0')));
        return all;
    }();
    return icons[static_cast<size_t>(index)];
}

QIcon HListIcoIcon(int index)
{
    if (index < 0 || index >= kHListIcoCount)
        return {};
    static const std::vector<QIcon> icons = [] {
        std::vector<QIcon> all;
        all.reserve(kHListIcoCount);
        for (int i = 0; i < kHListIcoCount; ++i)
            all.emplace_back(QString(":/icons/hlistico/%1.png").arg(i));
        return all;
    }();
    return icons[static_cast<size_t>(index)];
}

QIcon ProgramIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QString(":/icons/app/quillmere-asp-%1.png").arg(size), QSize(size, size));
    return icon;
}

}  // namespace qasp::app
