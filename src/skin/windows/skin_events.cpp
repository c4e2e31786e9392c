#include "skin/windows/skin_events.h"

#include <QCoreApplication>

namespace qasp::skin {

qintptr SendSkinMessage(QObject *receiver, int type, qintptr wParam, qintptr lParam)
{
    if (!receiver)
        return 0;
    SkinMessage message(type, wParam, lParam);
    QCoreApplication::sendEvent(receiver, &message);
    return message.Result;
}

void PostSkinMessage(QObject *receiver, int type, qintptr wParam, qintptr lParam)
{
    if (receiver)
        QCoreApplication::postEvent(receiver, new SkinMessage(type, wParam, lParam));
}

bool AnswersSkinQuery(QObject *receiver)
{
    return SendSkinMessage(receiver, kSkinQueryEvent) == 1;
}

bool AnswerSkinQuery(QEvent *event)
{
    if (event->type() != static_cast<QEvent::Type>(kSkinQueryEvent))
        return false;
    static_cast<SkinMessage *>(event)->Result = 1;
    return true;
}

}  // namespace qasp::skin
