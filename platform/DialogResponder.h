#pragma once

#include "FolderItem.h"
#include "Ref.h"

#include <cstdio>
#include <string>

struct MessageDialogContent;
class Window;

// Which button of a MessageDialog ended it; None when it was closed without
// one of its visible buttons.
enum class MessageDialogChoice { Action, Cancel, AlternateAction, None };

// Shows the framework's modal dialogs and sounds its beep. The layer has one
// in force at a time (DialogDispatcher): Qt's own dialogs when the program
// runs, a scripted one in tests, so no modal dialog can escape a test's
// script. This base shows nothing, for a process without a display: the
// message box and the beep go to standard error, and every question and
// file dialog is cancelled.
class DialogResponder {
  public:
    virtual ~DialogResponder() = default;

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
};
