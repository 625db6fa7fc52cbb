#include "Clipboard.h"
#include "FileDialogs.h"
#include "MessageDialog.h"
#include "Services.h"
#include "UiTest.h"

#include <gtest/gtest-spi.h>

using DialogTest = UiTest;

TEST_F(DialogTest, ShowModalReturnsTheMemberButtonThatWasPressed) {
    dialogs.answerMessageDialog(MessageDialogChoice::AlternateAction)
        .answerMessageDialog(MessageDialogChoice::Cancel)
        .answerMessageDialog(MessageDialogChoice::None);
    MessageDialog question;
    question.Message = "Save?";
    question.ActionButton.Caption = "Save";
    question.CancelButton.Visible = true;
    question.AlternateActionButton.Visible = true;
    EXPECT_EQ(question.ShowModal(), &question.AlternateActionButton);
    EXPECT_EQ(question.ShowModal(), &question.CancelButton);
    EXPECT_EQ(question.ShowModal(), nullptr);
    EXPECT_EQ(dialogs.shown()[0].buttons,
              (std::vector<std::string>{"Save", "Don't Save", "Cancel"}));
}

TEST_F(DialogTest, FileDialogsGiveTheScriptedItemOrNil) {
    auto chosen = makeRef<FolderItem>("/tmp/chosen.mxm");
    dialogs.answerOpenFile(chosen).answerSaveFile(nullptr).answerSelectFolder(nullptr);
    EXPECT_EQ(GetOpenFolderItem("Maxwell Material"), chosen);
    EXPECT_TRUE(GetSaveFolderItem("Maxwell Material", "new").isNil());
    EXPECT_TRUE(SelectFolder().isNil());
    EXPECT_EQ(dialogs.shown()[1].defaultName, "new");
    EXPECT_EQ(dialogs.shown()[0].filter, "Maxwell Material");
}

TEST_F(DialogTest, MsgBoxAndBeepAreRecorded) {
    dialogs.expectMsgBox("0 report");
    MsgBox("0 report");
    Beep();
    Beep();
    EXPECT_EQ(dialogs.beeps(), 2);
    EXPECT_EQ(dialogs.pending(), 0u);
}

TEST(ScriptedDialogsChecks, UnexpectedOrWrongDialogsFailTheTestAndAreCancelled) {
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedDialogs script;
            MessageDialog question;
            EXPECT_EQ(question.ShowModal(), &question.CancelButton);
        },
        "Unexpected MessageDialog (no scripted answer)");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedDialogs script;
            script.answerSaveFile(makeRef<FolderItem>("/tmp/x.mxm"));
            EXPECT_TRUE(GetOpenFolderItem("").isNil());
            script.allowUnusedSteps();
        },
        "the script expects a save dialog");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedDialogs script;
            script.expectMsgBox("expected");
            MsgBox("shown");
        },
        "MsgBox text");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedDialogs script;
            script.expectAnyMsgBox();
        },
        "never used");
}

TEST(ScriptedDialogsChecks, TheNewestScriptAnswersAndTheOlderOneComesBack) {
    ScriptedDialogs outer;
    outer.expectMsgBox("outer");
    {
        ScriptedDialogs inner;
        inner.expectMsgBox("inner");
        MsgBox("inner");
    }
    MsgBox("outer");
}

TEST_F(DialogTest, ClipboardKeepsTextAfterClose) {
    Clipboard clipboard;
    clipboard.setText("log \xE9t\xE9"); // Latin-1 bytes become text
    clipboard.Close();
    EXPECT_EQ(Clipboard::Text(), "log \xC3\xA9t\xC3\xA9");
    Clipboard::setText("second");
    EXPECT_EQ(Clipboard().Text(), "second");
}
