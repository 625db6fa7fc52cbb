#pragma once

class DialogResponder;

// The one road of every modal dialog and beep of the framework: MsgBox,
// MessageDialog.ShowModalWithin, the open, save and choose-folder dialogs, Beep.
class DialogDispatcher {
  public:
    // The responder in force: the one set last, else the program's own
    // dialogs, else the DialogResponder that shows nothing.
    static DialogResponder& responder();
    // Sets the responder (nullptr: the program's own dialogs again); returns
    // the one set before, nullptr when there was none.
    static DialogResponder* setResponder(DialogResponder* responder);
    // The program's own dialogs (the application sets Qt's), in force
    // whenever no responder is set.
    static void setProgramDialogs(DialogResponder& dialogs);
};
