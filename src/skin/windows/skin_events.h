// The skin engine's private messages between its own objects and the
// windows they paint, as custom event types with a word of argument each
// way and a result, like a window message.
#pragma once

#include <QEvent>

namespace qasp::skin {

enum SkinEventType {
    kRefreshSkinEvent = QEvent::User + 0x3401,     // refresh after a skin change
    kRepaintFrameEvent = QEvent::User + 0x3502,    // repaint the whole frame
    kFinishSetupEvent = QEvent::User + 0x3503,     // the window is built: finish skinning it
    kSwitchPaintingEvent = QEvent::User + 0x3506,  // a control's painting on (wParam > 0) or off
    kButtonActionEvent = QEvent::User + 0x3514,    // a caption button with the application's own action
    kButtonVisibleEvent = QEvent::User + 0x3515,   // is a caption button with this visibility shown?
    kSkinQueryEvent = QEvent::User + 0x3523,       // already skinned, or not to be skinned: answer 1
};

class SkinMessage : public QEvent {
public:
    SkinMessage(int type, qintptr wParam = 0, qintptr lParam = 0)
        : QEvent(static_cast<QEvent::Type>(type)),
          WParam(wParam),
          LParam(lParam)
    {
    }
    qintptr WParam, LParam;
    qintptr Result = 0;
};

// Sends the message and returns the receiver's result (0 when unanswered).
qintptr SendSkinMessage(QObject *receiver, int type, qintptr wParam = 0, qintptr lParam = 0);
void PostSkinMessage(QObject *receiver, int type, qintptr wParam = 0, qintptr lParam = 0);

// Whether the object is skinned already or asks to be left alone.
bool AnswersSkinQuery(QObject *receiver);

// For an event filter: answers the query with 1; true when it was the query.
bool AnswerSkinQuery(QEvent *event);

}  // namespace qasp::skin
