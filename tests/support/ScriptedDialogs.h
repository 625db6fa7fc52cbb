#pragma once

// Answers the framework's modal dialogs from a script, so window tests never
// show a real dialog and never wait for a person.
//
// Use (one object per test, usually a member of the fixture, see UiTest.h):
//
//     ScriptedDialogs dialogs;                      // installs itself
//     dialogs.answerMessageDialog(MessageDialogChoice::Cancel)
//            .expectMsgBox("0 " + report)
//            .answerSaveFile(nullptr);              // nil: the user cancels
//     ... drive the windows ...
//     EXPECT_EQ(dialogs.beeps(), 1);
//
// - Every MsgBox, MessageDialog.ShowModal, GetOpenFolderItem,
//   GetSaveFolderItem and SelectFolder takes the next scripted step. A dialog
//   of another kind than that step, a MsgBox whose text differs from the
//   expected one, or a dialog when the script is used up, fails the test at
//   once (ADD_FAILURE naming the dialog) and is answered with "cancel"
//   (nil, MessageDialogChoice::Cancel); nothing ever blocks.
// - Every dialog shown is recorded (shown(), msgBoxes()); beeps are counted
//   and never fail a test.
// - When the object goes, a step left unused fails the test, unless
//   allowUnusedSteps() was called. pending() tells how many are left.
// - Objects nest: the newest one answers; the destructor puts back the one
//   in force before it.
// - Making one also makes the test program's offscreen QApplication
//   (OffscreenApplication.h) when there is none yet.

#include "DialogResponder.h"
#include "FolderItem.h"
#include "MessageDialog.h"
#include "Ref.h"

#include <deque>
#include <string>
#include <vector>

// One dialog as the test saw it.
struct ShownDialog {
    enum class Kind { MsgBox, MessageDialog, OpenFile, SaveFile, SelectFolder };
    Kind kind;
    std::string text;        // MsgBox text, or the MessageDialog's Message
    std::string explanation; // MessageDialog's Explanation
    // MessageDialog: captions of its visible buttons, in the order action,
    // alternate action, cancel.
    std::vector<std::string> buttons;
    std::string filter;      // file dialogs: the ";"-joined type names
    std::string defaultName; // save dialog: the proposed file name
};

class ScriptedDialogs : public DialogResponder {
  public:
    ScriptedDialogs();
    ~ScriptedDialogs() override;
    ScriptedDialogs(const ScriptedDialogs&) = delete;
    ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

    // Script steps, taken in the order given.
    ScriptedDialogs& expectMsgBox(const std::string& text); // exactly this text
    ScriptedDialogs& expectAnyMsgBox();
    ScriptedDialogs& answerMessageDialog(MessageDialogChoice choice);
    ScriptedDialogs& answerOpenFile(const Ref<FolderItem>& file);       // nil: cancel
    ScriptedDialogs& answerSaveFile(const Ref<FolderItem>& file);       // nil: cancel
    ScriptedDialogs& answerSelectFolder(const Ref<FolderItem>& folder); // nil: cancel

    // Steps not yet taken.
    size_t pending() const { return steps_.size(); }
    // Leaves unused steps unchecked when the object goes.
    void allowUnusedSteps() { checkUnused_ = false; }

    // What was shown, in order.
    const std::vector<ShownDialog>& shown() const { return shown_; }
    // The texts of every MsgBox shown, in order.
    std::vector<std::string> msgBoxes() const;
    int beeps() const { return beeps_; }

    // DialogResponder
    void showMsgBox(const std::string& text) override;
    MessageDialogChoice showMessageDialog(const MessageDialog& dialog) override;
    Ref<FolderItem> showOpenFile(const std::string& filterTypeNames) override;
    Ref<FolderItem> showSaveFile(const std::string& filterTypeNames,
                                 const std::string& defaultName) override;
    Ref<FolderItem> showSelectFolder() override;
    void beep() override { ++beeps_; }

  private:
    struct Step {
        ShownDialog::Kind kind;
        bool anyText = false;
        std::string text;
        MessageDialogChoice choice = MessageDialogChoice::Cancel;
        Ref<FolderItem> item;
    };

    ScriptedDialogs& add(Step step);
    // The next step when it is of the kind; otherwise fails the test.
    const Step* take(ShownDialog::Kind kind, const std::string& what);

    std::deque<Step> steps_;
    Step current_;
    std::vector<ShownDialog> shown_;
    int beeps_ = 0;
    bool checkUnused_ = true;
    DialogResponder* previous_ = nullptr;
};
