#include "Application.h"
#include "EditorFixture.h"

#include <QAction>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

const std::string cannotWrite =
    "Can't write file... Probably file is opened in another application!";

TEST_F(EditorTest, PaintShowsPreviewPixelsOneTo197) {
    WindowMXM* editor = openEditor();
    editor->CPreview().paintNow();
    const QImage& shown = editor->CPreview().picture().image();
    ASSERT_EQ(shown.size(), QSize(197, 197));
    for (int y = 0; y < 197; ++y)
        for (int x = 0; x < 197; ++x) {
            const Color c = MaterialBytes::patternPixel(x + 1, y + 1);
            ASSERT_EQ(shown.pixel(x, y), qRgb(c.red, c.green, c.blue)) << x << "," << y;
        }
}

TEST_F(EditorTest, FirstDroppedPictureFileOrImageBecomesThePreview) {
    WindowMXM* editor = openEditor();
    ASSERT_TRUE(UiDriver::dropFiles(editor->CPreview(),
                                    {pngFile("1.PNG", Qt::red), pngFile("2.png", Qt::green)}));
    EXPECT_TRUE(changedWithSaveAndRevert(*editor));
    EXPECT_EQ(shownAt(*editor, 0, 0), Red);
    EXPECT_EQ(shownAt(*editor, 196, 196), Red);
    EXPECT_EQ(editor->Title(), "oak");
    drop(*editor, Qt::green);
    EXPECT_EQ(shownAt(*editor, 98, 98), Green);
}

TEST_F(EditorTest, TextFileIsRefusedButAPngThatIsNoPictureCountsAsAChange) {
    WindowMXM* editor = openEditor();
    EXPECT_FALSE(UiDriver::dropFiles(editor->CPreview(), {volumes.makeFile("HD", "a.txt", "x")}));
    EXPECT_FALSE(editor->dirty || editor->PBSave().Enabled() || editor->BBRevert().Enabled());
    ASSERT_TRUE(UiDriver::dropFiles(editor->CPreview(), {volumes.makeFile("HD", "a.png", "x")}));
    EXPECT_TRUE(changedWithSaveAndRevert(*editor));
    EXPECT_EQ(shownAt(*editor, 0, 0), MaterialBytes::patternPixel(1, 1));
}

// The editor of a file whose reading failed.
TEST_F(EditorTest, EditorWithoutMaterialIgnoresDropsAndReportsTheCheckFailure) {
    auto* editor = new WindowMXM;
    EXPECT_EQ(editor->Title(), "Untitled");
    EXPECT_TRUE(editor->BBCheckPath().Enabled());
    drop(*editor, Qt::red);
    EXPECT_FALSE(editor->dirty || editor->PBSave().Enabled() || editor->BBRevert().Enabled());
    EXPECT_EQ(shownAt(*editor, 98, 98), RGB(0x50, 0x50, 0x50));
    dialogs.expectMsgBox("Exception in WindowMXM.CheckPaths");
    UiDriver::click(editor->BBCheckPath());
    EXPECT_TRUE(editor->Close()); // nothing to lose: no question
}

TEST_F(EditorTest, CheckShowsSeverityAndReportAndMarksRewritesAsChanges) {
    volumes.makeFile("HD", "mat/tex/a.jpg");
    volumes.makeFile("HD", "mat/tex/b.jpg");
    WindowMXM* editor = openEditor();
    dialogs.expectMsgBox("0 [ /mat/tex/a.jpg- o.k. ] \r[ /mat/tex/b.jpg- o.k. ] \r");
    UiDriver::click(editor->BBCheckPath());
    EXPECT_FALSE(editor->dirty || editor->PBSave().Enabled());

    WindowMXM* moved = openEditor(oakBytes("/old/b.jpg"), "mat/pine.mxm");
    dialogs.expectMsgBox("1 [ /mat/tex/a.jpg- o.k. ] \r[ b.jpg - Path changed, o.k. ] \r");
    UiDriver::click(moved->BBCheckPath());
    EXPECT_TRUE(moved->dirty && moved->PBSave().Enabled());
    EXPECT_FALSE(moved->BBRevert().Enabled());
    UiDriver::click(moved->PBSave());
    EXPECT_FALSE(moved->dirty || moved->PBSave().Enabled());
    EXPECT_EQ(read("mat/pine.mxm")->mxmPaths[1].getString(), "/mat/tex/b.jpg");
}

TEST_F(EditorTest, RevertBringsTheStoredPreviewBackAndKeepsBothButtons) {
    WindowMXM* editor = openEditor();
    drop(*editor, Qt::red);
    UiDriver::click(editor->BBRevert());
    EXPECT_FALSE(editor->dirty);
    EXPECT_TRUE(editor->PBSave().Enabled() && editor->BBRevert().Enabled());
    EXPECT_EQ(shownAt(*editor, 0, 0), MaterialBytes::patternPixel(1, 1));
    EXPECT_TRUE(editor->Close()); // reverted: no question
}

TEST_F(EditorTest, CancelledSaveAsBeepsAndKeepsTheChange) {
    WindowMXM* editor = openEditor();
    drop(*editor, Qt::red);
    dialogs.answerSaveFile(nullptr);
    editor->menuAction("FileSaveAs")->trigger();
    EXPECT_EQ(dialogs.beeps(), 1);
    EXPECT_TRUE(changedWithSaveAndRevert(*editor));
    EXPECT_EQ(dialogs.shown().at(0).filter, "Maxwell Material");
    EXPECT_EQ(dialogs.shown().at(0).defaultName, "new");
}

TEST_F(EditorTest, SaveAsWritesACopyAndALaterSaveGoesToTheOpenedFile) {
    WindowMXM* editor = openEditor();
    drop(*editor, Qt::red);
    volumes.makeFolder("HD", "copies");
    dialogs.answerSaveFile(volumes.item("HD", "copies/new"));
    editor->menuAction("FileSaveAs")->trigger();
    EXPECT_FALSE(editor->dirty || editor->PBSave().Enabled());
    EXPECT_EQ(editor->Title(), "oak");
    EXPECT_EQ(storedPixel("copies/new.mxm"), Red);

    drop(*editor, Qt::green);
    editor->menuAction("FileSave")->trigger();
    EXPECT_EQ(storedPixel(), Green);
    EXPECT_EQ(storedPixel("copies/new.mxm"), Red);
}

TEST_F(EditorTest, FailedSaveKeepsTheEditorChangedAndOpen) {
    Application application;
    WindowMXM* editor = openEditor();
    drop(*editor, Qt::red);
    std::filesystem::remove_all(volumes.pathOf("HD", "mat"));
    dialogs.expectMsgBox(cannotWrite)
        .answerMessageDialog(MessageDialogChoice::Action)
        .expectMsgBox(cannotWrite);
    UiDriver::click(editor->PBSave());
    EXPECT_TRUE(changedWithSaveAndRevert(*editor));
    EXPECT_FALSE(application.Quit());
    EXPECT_FALSE(editor->IsClosed());
}

TEST_F(EditorTest, CloseQuestionCancelKeepsTheEditorAndSaveWritesAndCloses) {
    WindowMXM* editor = openEditor();
    drop(*editor, Qt::red);
    dialogs.answerMessageDialog(MessageDialogChoice::Cancel)
        .answerMessageDialog(MessageDialogChoice::Action);
    editor->menuAction("FileClose")->trigger();
    EXPECT_FALSE(editor->IsClosed());
    EXPECT_TRUE(editor->dirty);
    const ShownDialog& shown = dialogs.shown().at(0);
    EXPECT_EQ(shown.text, "Do you want to save changes to this document\u2013 before closing?");
    EXPECT_EQ(shown.explanation, "If you don't save, your changes will be lost. ");
    EXPECT_EQ(shown.buttons, (std::vector<std::string>{"Save", "Don't Save", "Cancel"}));
    EXPECT_TRUE(editor->Close());
    EXPECT_EQ(storedPixel(), Red);
}

TEST_F(EditorTest, QuittingAsksTheCloseQuestion) {
    Application application;
    WindowMXM* unchanged = openEditor(oakBytes(), "mat/pine.mxm");
    WindowMXM* changed = openEditor();
    drop(*changed, Qt::red);
    const std::string before = volumes.folder().readFile("HD/mat/oak.mxm");
    dialogs.answerMessageDialog(MessageDialogChoice::Cancel)
        .answerMessageDialog(MessageDialogChoice::AlternateAction);
    EXPECT_FALSE(application.Quit());
    EXPECT_TRUE(changed->dirty && !changed->IsClosed());
    EXPECT_TRUE(application.Quit());
    EXPECT_TRUE(changed->IsClosed() && unchanged->IsClosed());
    EXPECT_EQ(volumes.folder().readFile("HD/mat/oak.mxm"), before);
}

} // namespace
