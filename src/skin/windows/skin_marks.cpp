#include "skin/windows/skin_marks.h"

#include <QObject>
#include <QVariant>

namespace qasp::skin {

void MarkNoSkin(QObject *object, bool on)
{
    object->setProperty(kNoSkinProperty, on);
}

bool IsMarkedNoSkin(const QObject *object)
{
    return object->property(kNoSkinProperty).toBool();
}

void MarkTransparent(QObject *object, bool on)
{
    object->setProperty(kTransparentProperty, on);
}

bool IsMarkedTransparent(const QObject *object)
{
    return object->property(kTransparentProperty).toBool();
}

void MarkWindowMenu(QObject *menu)
{
    menu->setProperty(kWindowMenuProperty, true);
}

bool IsWindowMenu(const QObject *menu)
{
    return menu->property(kWindowMenuProperty).toBool();
}

}  // namespace qasp::skin
