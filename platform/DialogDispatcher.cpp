#include "DialogDispatcher.h"

#include "QtDialogResponder.h"
#include "Services.h"

namespace {
DialogResponder* replacement = nullptr;
}

DialogResponder& DialogDispatcher::responder() {
    static QtDialogResponder qtDialogs;
    return replacement != nullptr ? *replacement : qtDialogs;
}

DialogResponder* DialogDispatcher::setResponder(DialogResponder* responder) {
    DialogResponder* before = replacement;
    replacement = responder;
    return before;
}

void DialogDispatcher::installServiceHooks() {
    serviceHooks().msgBox = [](const std::string& text) { responder().showMsgBox(text); };
    serviceHooks().beep = [] { responder().beep(); };
}
