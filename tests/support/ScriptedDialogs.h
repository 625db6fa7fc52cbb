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
#include "Window.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <deque>
#include <memory>
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
    const Window* parent = nullptr; // MessageDialog: the window it belongs to
};

class ScriptedDialogs : public DialogResponder {
    using Kind = ShownDialog::Kind;

  public:
    ScriptedDialogs() {
        makeOffscreenApplication();
        previous_ = DialogResponder::setCurrent(this);
    }
    ~ScriptedDialogs() override {
        DialogResponder::setCurrent(previous_);
        if (checkUnused_ && !steps_.empty())
            ADD_FAILURE() << steps_.size() << " scripted dialog step(s) never used; the next was a "
                          << kindName(steps_.front().kind);
    }
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
    std::vector<std::string> msgBoxes() const {
        std::vector<std::string> texts;
        for (const ShownDialog& dialog : shown_)
            if (dialog.kind == Kind::MsgBox)
                texts.push_back(dialog.text);
        return texts;
    }
    int beeps() const { return beeps_; }

    // DialogResponder
    void showMsgBox(const std::string& text) override {
        // A step that expects any text lets every text pass.
        EXPECT_EQ(take({Kind::MsgBox, text}).text.value_or(text), text) << "MsgBox text";
    }
    MessageDialogChoice showMessageDialog(const MessageDialogContent& dialog,
                                          const Window* parent) override {
        ShownDialog shown{Kind::MessageDialog, dialog.Message, {}, {}, parent};
        for (const MessageDialogButton* button :
             {&dialog.ActionButton, &dialog.AlternateActionButton, &dialog.CancelButton})
            if (button->Visible)
                shown.buttons.push_back(button->Caption);
        return take(shown).choice;
    }
    Ref<FolderItem> showOpenFile(const std::string& filterTypeNames) override {
        return take({Kind::OpenFile, {}, {}, filterTypeNames}).item;
    }
    Ref<FolderItem> showSaveFile(const std::string& filterTypeNames, const std::string&) override {
        return take({Kind::SaveFile, {}, {}, filterTypeNames}).item;
    }
    Ref<FolderItem> showSelectFolder() override { return take({Kind::SelectFolder}).item; }
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
    Step take(const ShownDialog& dialog) {
        shown_.push_back(dialog);
        if (steps_.empty() || steps_.front().kind != dialog.kind) {
            ADD_FAILURE() << "Unexpected " << kindName(dialog.kind) << " ("
                          << (steps_.empty()
                                  ? "no scripted answer"
                                  : "the script expects a " + kindName(steps_.front().kind))
                          << "): \"" << (dialog.text.empty() ? dialog.filter : dialog.text) << "\"";
            return {dialog.kind};
        }
        Step step = std::move(steps_.front());
        steps_.pop_front();
        return step;
    }
    static std::string kindName(Kind kind) {
        return std::vector<std::string>{"MsgBox", "MessageDialog", "open dialog", "save dialog",
                                        "choose-folder dialog"}[static_cast<int>(kind)];
    }
    // The test program's QApplication on Qt's offscreen platform (unless
    // QT_QPA_PLATFORM names another), kept until the tests end, with a
    // script-less ScriptedDialogs beneath every script, and the windows the
    // tests left removed before Qt goes.
    static void makeOffscreenApplication() {
        struct Offscreen : ::testing::Environment {
            void TearDown() override {
                Window::DiscardAll();
                lastResort.reset();
                application.reset();
            }
            std::unique_ptr<QApplication> application;
            std::unique_ptr<ScriptedDialogs> lastResort;
        };
        if (QCoreApplication::instance() != nullptr)
            return;
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "tests";
        static char* argv[] = {name, nullptr};
        auto* environment = new Offscreen;
        environment->application = std::make_unique<QApplication>(argc, argv);
        environment->lastResort = std::make_unique<ScriptedDialogs>();
        ::testing::AddGlobalTestEnvironment(environment);
    }

    std::deque<Step> steps_;
    std::vector<ShownDialog> shown_;
    int beeps_ = 0;
    bool checkUnused_ = true;
    DialogResponder* previous_ = nullptr;
};
