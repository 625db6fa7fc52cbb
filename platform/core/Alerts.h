#pragma once

#include "DialogResponder.h"

#include <string>

// The framework's message box and beep, shown and sounded by the dialog
// responder in force.
inline void MsgBox(const std::string& text) {
    DialogResponder::current().showMsgBox(text);
}

inline void Beep() {
    DialogResponder::current().beep();
}
