#include "Services.h"

#include <cstdio>

ServiceHooks& serviceHooks() {
    static ServiceHooks hooks;
    return hooks;
}

void MsgBox(const std::string& text) {
    if (serviceHooks().msgBox) {
        serviceHooks().msgBox(text);
        return;
    }
    std::fprintf(stderr, "MsgBox: %s\n", text.c_str());
}

void Beep() {
    if (serviceHooks().beep) {
        serviceHooks().beep();
        return;
    }
    std::fputs("Beep\n", stderr);
}
