#include "DialogResponder.h"

namespace {
DialogResponder* replacement = nullptr;
DialogResponder* programDialogs = nullptr;
} // namespace

DialogResponder& DialogResponder::current() {
    static DialogResponder headless;
    return replacement ? *replacement : programDialogs ? *programDialogs : headless;
}

DialogResponder* DialogResponder::setCurrent(DialogResponder* responder) {
    DialogResponder* before = replacement;
    replacement = responder;
    return before;
}

void DialogResponder::setProgramDialogs(DialogResponder& dialogs) {
    programDialogs = &dialogs;
}
