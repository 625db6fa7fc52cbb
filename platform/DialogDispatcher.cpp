#include "DialogDispatcher.h"

#include "DialogResponder.h"

namespace {
DialogResponder* replacement = nullptr;
DialogResponder* programDialogs = nullptr;
} // namespace

DialogResponder& DialogDispatcher::responder() {
    static DialogResponder headless;
    if (replacement != nullptr)
        return *replacement;
    return programDialogs != nullptr ? *programDialogs : headless;
}

DialogResponder* DialogDispatcher::setResponder(DialogResponder* responder) {
    DialogResponder* before = replacement;
    replacement = responder;
    return before;
}

void DialogDispatcher::setProgramDialogs(DialogResponder& dialogs) {
    programDialogs = &dialogs;
}
