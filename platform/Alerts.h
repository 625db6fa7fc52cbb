#pragma once

#include <string>

// The framework's message box and beep, shown and sounded by the dialog
// responder in force (DialogResponder::current).
void MsgBox(const std::string& text);
void Beep();
