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
// - Every MsgBox, MessageDialog.ShowModalWithin, GetOpenFolderItem,
//   GetSaveFolderItem and SelectFolder takes the next scripted step. A dialog
//   of another kind than that step, a MsgBox whose text differs from the
//   expected one, or a dialog when the script is used up, fails the test at
//   once (ADD_FAILURE naming the dialog) and is answered with "cancel"
//   (nil, MessageDialogChoice::Cancel); nothing ever blocks.
// - Every dialog shown is recorded (shown(), msgBoxes()); beeps are counted
//   and never fail a test.
// - When the object goes, a step left unused fails the test, unless
//   allowUnusedSteps() was called.
// - Objects nest: the newest one answers; the destructor puts back the one
//   in force before it.
// - The first one made also makes the test program's offscreen QApplication,
//   kept until the tests end, and beneath every script a script-less
//   ScriptedDialogs: a dialog that no test scripted fails the test.

#include "DialogResponder.h"
#include "FolderItem.h"
#include "MessageDialog.h"
#include "Ref.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

// One dialog as the test saw it.
struct ShownDialog {
    enum class Kind { MsgBox, MessageDialog, OpenFile, SaveFile, SelectFolder };
    Kind kind;
    std::string text = {}; // MsgBox text, or the MessageDialog's Message
    // MessageDialog: captions of its visible buttons, in the order action,
    // alternate action, cancel.
    std::vector<std::string> buttons = {};
    std::string filter = {};        // file dialogs: the ";"-joined type names
    std::string defaultName = {};   // save dialog: the proposed file name
    const Window* parent = nullptr; // MessageDialog: the window it belongs to
};

class ScriptedDialogs : public DialogResponder {
    using Kind = ShownDialog::Kind;

  public:
    ScriptedDialogs();
    ~ScriptedDialogs() override;
    ScriptedDialogs(const ScriptedDialogs&) = delete;
    ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

    // Script steps, taken in the order given; a nil item is the user's cancel.
    ScriptedDialogs& expectMsgBox(const std::string& text) { return add({Kind::MsgBox, text}); }
    ScriptedDialogs& expectAnyMsgBox() { return add({Kind::MsgBox}); }
    ScriptedDialogs& answerMessageDialog(MessageDialogChoice choice) {
        return add({Kind::MessageDialog, {}, choice});
    }
    ScriptedDialogs& answerOpenFile(const Ref<FolderItem>& file) {
        return add({Kind::OpenFile, {}, {}, file});
    }
    ScriptedDialogs& answerSaveFile(const Ref<FolderItem>& file) {
        return add({Kind::SaveFile, {}, {}, file});
    }
    ScriptedDialogs& answerSelectFolder(const Ref<FolderItem>& folder) {
        return add({Kind::SelectFolder, {}, {}, folder});
    }
    void allowUnusedSteps() { checkUnused_ = false; }

    const std::vector<ShownDialog>& shown() const { return shown_; }
    std::vector<std::string> msgBoxes() const;
    int beeps() const { return beeps_; }

    // DialogResponder
    void showMsgBox(const std::string& text) override;
    MessageDialogChoice showMessageDialog(const MessageDialogContent& dialog,
                                          const Window* parent) override;
    Ref<FolderItem> showOpenFile(const std::string& filterTypeNames) override;
    Ref<FolderItem> showSaveFile(const std::string& filterTypeNames,
                                 const std::string& defaultName) override;
    Ref<FolderItem> showSelectFolder() override;
    void beep() override { ++beeps_; }

  private:
    struct Step {
        Kind kind;
        std::optional<std::string> text = {}; // a MsgBox's expected text; none: any
        MessageDialogChoice choice = MessageDialogChoice::Cancel;
        Ref<FolderItem> item = nullptr;
    };

    ScriptedDialogs& add(Step step) {
        steps_.push_back(std::move(step));
        return *this;
    }
    // Records the dialog and takes the next step when it is of the dialog's
    // kind; otherwise fails the test and answers with cancel.
    Step take(const ShownDialog& dialog);

    std::deque<Step> steps_;
    std::vector<ShownDialog> shown_;
    int beeps_ = 0;
    bool checkUnused_ = true;
    DialogResponder* previous_ = nullptr;
};
