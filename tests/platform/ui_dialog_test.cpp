#include "Clipboard.h"
#include "FileDialogs.h"
#include "MessageDialog.h"
#include "Services.h"
#include "UiTest.h"

#include <gtest/gtest-spi.h>

using DialogTest = UiTest;

TEST_F(DialogTest, UnexpectedOrWrongDialogsFailTheTestAndAreCancelled) {
    MessageDialog question;
    EXPECT_NONFATAL_FAILURE(EXPECT_EQ(question.ShowModal(), &question.CancelButton),
                            "Unexpected MessageDialog (no scripted answer)");
    dialogs.expectMsgBox("expected").answerSaveFile(makeRef<FolderItem>("/tmp/x.mxm"));
    EXPECT_NONFATAL_FAILURE(MsgBox("shown"), "MsgBox text");
    EXPECT_NONFATAL_FAILURE(EXPECT_TRUE(GetOpenFolderItem("").isNil()),
                            "the script expects a save dialog");
    EXPECT_NONFATAL_FAILURE(ScriptedDialogs().expectAnyMsgBox(), "never used");
    dialogs.allowUnusedSteps();
}

TEST_F(DialogTest, ClipboardKeepsTextAfterClose) {
    Clipboard clipboard;
    clipboard.setText("log \xE9t\xE9"); // Latin-1 bytes become text
    clipboard.Close();
    EXPECT_EQ(Clipboard::Text(), "log \xC3\xA9t\xC3\xA9");
}
