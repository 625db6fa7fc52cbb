#include "Alerts.h"

#include "DialogResponder.h"

void MsgBox(const std::string& text) {
    DialogResponder::current().showMsgBox(text);
}

void Beep() {
    DialogResponder::current().beep();
}
