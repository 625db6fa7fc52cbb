#pragma once

class DialogResponder;

// The one road of every modal dialog and beep of the framework: MsgBox,
// MessageDialog.ShowModalWithin, the open, save and choose-folder dialogs, Beep.
class DialogDispatcher {
  public:
    // The responder in force: Qt's own dialogs unless one was set.
    static DialogResponder& responder();
    // Sets the responder (nullptr: Qt's own dialogs again); returns the one
    // set before, nullptr when that was Qt's own.
    static DialogResponder* setResponder(DialogResponder* responder);
    // Routes MsgBox and Beep (Services.h) through the responder in force.
    static void installServiceHooks();
};
