#pragma once

#include "FolderItem.h"
#include "Ref.h"

#include <cstdio>
#include <string>
#include <utility>

struct MessageDialogContent;
class Window;

// Which button of a MessageDialog ended it; None when it was closed without
// one of its visible buttons.
enum class MessageDialogChoice { Action, Cancel, AlternateAction, None };

// Shows the framework's modal dialogs and sounds its beep: the one road of
// MsgBox, MessageDialog.ShowModalWithin, the open, save and choose-folder
// dialogs and Beep. One responder is in force at a time: Qt's own dialogs
// when the program runs, a scripted one in tests, so no modal dialog can
// escape a test's script. This base shows nothing, for a process without a
// display: the message box and the beep go to standard error, and every
// question and file dialog is cancelled.
class DialogResponder {
  public:
    virtual ~DialogResponder() = default;

    // The responder in force: on a thread that set one for itself, that
    // one; else the one set last, else the program's own dialogs, else the
    // base, which shows nothing.
    static DialogResponder& current() {
        static DialogResponder headless;
        if (thisThread_)
            return *thisThread_;
        return replacement_ ? *replacement_ : programDialogs_ ? *programDialogs_ : headless;
    }
    // Sets the responder of the calling thread alone (nullptr: none of its
    // own); a worker thread that may meet a message box records it with
    // one, to be shown on the windows' thread. Returns the one set before.
    static DialogResponder* setForThisThread(DialogResponder* responder) {
        return std::exchange(thisThread_, responder);
    }
    // Sets the responder in force (nullptr: the program's own dialogs again);
    // returns the one set before, nullptr when there was none.
    static DialogResponder* setCurrent(DialogResponder* responder) {
        return std::exchange(replacement_, responder);
    }
    // The program's own dialogs (the application sets Qt's), in force
    // whenever no responder is set.
    static void setProgramDialogs(DialogResponder& dialogs) { programDialogs_ = &dialogs; }

    virtual void showMsgBox(const std::string& text) {
        std::fprintf(stderr, "MsgBox: %s\n", text.c_str());
    }
    // parent: the window the question belongs to, shown over it; nullptr
    // for a question of the whole application.
    virtual MessageDialogChoice showMessageDialog(const MessageDialogContent&, const Window*) {
        return MessageDialogChoice::Cancel;
    }
    // filterTypeNames: ";"-joined names of registered FileTypes. nil on cancel.
    virtual Ref<FolderItem> showOpenFile(const std::string&) { return nullptr; }
    virtual Ref<FolderItem> showSaveFile(const std::string&, const std::string&) { return nullptr; }
    virtual Ref<FolderItem> showSelectFolder() { return nullptr; }
    virtual void beep() { std::fputs("Beep\n", stderr); }

  private:
    static inline DialogResponder* replacement_ = nullptr;
    static inline DialogResponder* programDialogs_ = nullptr;
    static inline thread_local DialogResponder* thisThread_ = nullptr;
};
