#include "Alerts.h"

#include "DialogDispatcher.h"
#include "DialogResponder.h"

void MsgBox(const std::string& text) {
    DialogDispatcher::responder().showMsgBox(text);
}

void Beep() {
    DialogDispatcher::responder().beep();
}
