#pragma once

#include <functional>
#include <string>

// The framework's message box and beep. Both go through hooks, so that the
// window layer can show a real dialog and tests can record what was shown.
void MsgBox(const std::string& text);
void Beep();

struct ServiceHooks {
    std::function<void(const std::string&)> msgBox;
    std::function<void()> beep;
};

// The hooks in force; empty hooks fall back to writing to standard error.
ServiceHooks& serviceHooks();
