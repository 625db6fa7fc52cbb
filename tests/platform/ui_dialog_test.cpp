#include "Alerts.h"
#include "Application.h"
#include "Clipboard.h"
#include "DialogResponder.h"
#include "FileDialogs.h"
#include "MessageDialog.h"
#include "RealDialogs.h"
#include "Text.h"
#include "UiDriver.h"
#include "UiTest.h"

#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

#include <gtest/gtest-spi.h>

using DialogTest = UiTest;

TEST_F(DialogTest, UnexpectedOrWrongDialogsFailTheTestAndAreCancelled) {
    MessageDialog question;
    EXPECT_NONFATAL_FAILURE(
        EXPECT_EQ(DialogResponder::current().showMessageDialog(question, nullptr),
                  MessageDialogChoice::Cancel),
        "Unexpected MessageDialog (no scripted answer)");
    dialogs.expectMsgBox("expected").answerSaveFile(makeRef<FolderItem>("/tmp/x.mxm"));
    EXPECT_NONFATAL_FAILURE(MsgBox("shown"), "MsgBox text");
    EXPECT_NONFATAL_FAILURE(EXPECT_TRUE(GetOpenFolderItem("").isNil()),
                            "the script expects a save dialog");
    EXPECT_NONFATAL_FAILURE(ScriptedDialogs().expectAnyMsgBox(), "never used");
    dialogs.allowUnusedSteps();
}

// A message box never grows past the screen: a long text scrolls inside it
// with its button in sight, and can be selected and copied; a short one is
// Qt's own box. Both carry the program's name.
TEST_F(DialogTest, MessageBoxStaysOnScreenWhateverItsText) {
    Application app;
    app.setDisplayName("Lumitrace");
    std::string report;
    for (int i = 0; i < 121; ++i)
        report += "[ /textures/wood/oak_" + std::to_string(i) + ".jpg- o.k. ] \r";
    RealDialogs real;
    real.then<QMessageBox>([](QMessageBox& box) {
            EXPECT_EQ(box.windowTitle(), "Lumitrace");
            EXPECT_TRUE(box.textInteractionFlags() & Qt::TextSelectableByMouse);
            UiDriver::pressKey(box, Qt::Key_Return);
        })
        .then<QDialog>([&report](QDialog& box) {
            EXPECT_EQ(box.windowTitle(), "Lumitrace");
            EXPECT_LE(box.frameGeometry().height(), box.screen()->availableGeometry().height());
            const auto buttons = box.findChildren<QPushButton*>();
            ASSERT_EQ(buttons.size(), 1);
            EXPECT_TRUE(box.rect().contains(buttons[0]->geometry()));
            auto* text = box.findChild<QPlainTextEdit*>();
            ASSERT_NE(text, nullptr);
            UiDriver::pressKey(*text, Qt::Key_A, Qt::ControlModifier);
            UiDriver::pressKey(*text, Qt::Key_C, Qt::ControlModifier);
            EXPECT_EQ(Clipboard::Text(), ReplaceAllB(report, "\r", "\n"));
            UiDriver::pressKey(box, Qt::Key_Return);
        });
    MsgBox("A short text.");
    MsgBox(report);
}
