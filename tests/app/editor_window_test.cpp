#include "Application.h"
#include "EditorFixture.h"
#include "Graphics.h"
#include "UiDriver.h"

#include <QAction>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

const std::string question = "Do you want to save changes to this document\u2013 before closing?";

bool changedWithSaveAndRevert(const WindowMXM& editor) {
    return editor.dirty && editor.PBSave().Enabled() && editor.BBRevert().Enabled();
}

// --- The preview and what may be dropped on it ---

TEST_F(EditorTest, PaintShowsPreviewPixelsOneTo197) {
    WindowMXM* editor = openEditor();
    editor->CPreview().paintNow();
    const QImage& shown = editor->CPreview().picture().image();
    ASSERT_EQ(shown.width(), 197);
    ASSERT_EQ(shown.height(), 197);
    for (int y = 0; y < 197; ++y)
        for (int x = 0; x < 197; ++x) {
            const Color expected = MaterialBytes::patternPixel(x + 1, y + 1);
            const QColor c = QColor::fromRgb(shown.pixel(x, y));
            ASSERT_EQ(RGB(c.red(), c.green(), c.blue()), expected) << x << "," << y;
        }
}

TEST_F(EditorTest, DroppedPngFileBecomesThePreview) {
    WindowMXM* editor = openEditor();
    ASSERT_TRUE(UiDriver::dropFiles(editor->CPreview(), {pngFile("pics/leaf.PNG", Qt::red)}));
    EXPECT_TRUE(changedWithSaveAndRevert(*editor));
    EXPECT_EQ(shownAt(*editor, 0, 0), Red);
    EXPECT_EQ(shownAt(*editor, 196, 196), Red);
    EXPECT_EQ(editor->Title(), "oak");
}

TEST_F(EditorTest, DroppedImageDataBecomesThePreview) {
    WindowMXM* editor = openEditor();
    ASSERT_TRUE(UiDriver::dropImage(editor->CPreview(), solidImage(Qt::green)));
    EXPECT_TRUE(changedWithSaveAndRevert(*editor));
    EXPECT_EQ(shownAt(*editor, 100, 100), Green);
}

TEST_F(EditorTest, OnlyTheFirstOfThreeDroppedFilesIsUsed) {
    WindowMXM* editor = openEditor();
    const std::vector<std::string> files{pngFile("pics/1.png", Qt::red),
                                         pngFile("pics/2.png", Qt::green),
                                         pngFile("pics/3.png", Qt::blue)};
    ASSERT_TRUE(UiDriver::dropFiles(editor->CPreview(), files));
    EXPECT_EQ(shownAt(*editor, 50, 50), Red);
}

TEST_F(EditorTest, PngThatIsNoPictureKeepsThePreviewYetCountsAsAChange) {
    WindowMXM* editor = openEditor();
    const std::string fake = volumes.makeFile("HD", "pics/fake.png", "no picture at all");
    ASSERT_TRUE(UiDriver::dropFiles(editor->CPreview(), {fake}));
    EXPECT_TRUE(changedWithSaveAndRevert(*editor));
    EXPECT_EQ(shownAt(*editor, 0, 0), MaterialBytes::patternPixel(1, 1));
}

TEST_F(EditorTest, TextFileIsRefusedAtTheDrag) {
    WindowMXM* editor = openEditor();
    const std::string text = volumes.makeFile("HD", "notes.txt", "hello");
    EXPECT_FALSE(UiDriver::dropFiles(editor->CPreview(), {text}));
    EXPECT_FALSE(editor->dirty);
    EXPECT_FALSE(editor->PBSave().Enabled());
    EXPECT_FALSE(editor->BBRevert().Enabled());
}

// --- An editor left without a material (its file could not be read) ---

TEST_F(EditorTest, EditorWithoutMaterialIgnoresDropsAndReportsTheCheckFailure) {
    auto* editor = new WindowMXM;
    EXPECT_EQ(editor->Title(), "Untitled");
    EXPECT_FALSE(editor->PBSave().Enabled());
    EXPECT_FALSE(editor->BBRevert().Enabled());
    EXPECT_TRUE(editor->BBCheckPath().Enabled());
    EXPECT_EQ(shownAt(*editor, 98, 98), Background);

    ASSERT_TRUE(UiDriver::dropImage(editor->CPreview(), solidImage(Qt::red)));
    EXPECT_FALSE(editor->dirty);
    EXPECT_FALSE(editor->PBSave().Enabled());
    EXPECT_EQ(shownAt(*editor, 98, 98), Background);

    dialogs.expectMsgBox("Exception in WindowMXM.CheckPaths");
    UiDriver::click(editor->BBCheckPath());
    EXPECT_TRUE(editor->Close()); // nothing to lose: no question
}

// --- Check, revert, save and save as move the changed state and the buttons ---

TEST_F(EditorTest, CheckWithSeverityZeroShowsTheReportAndChangesNothing) {
    volumes.makeFile("HD", "mat/tex/a.jpg");
    volumes.makeFile("HD", "mat/tex/b.jpg");
    WindowMXM* editor = openEditor();
    dialogs.expectMsgBox("0 [ /mat/tex/a.jpg- o.k. ] \r[ /mat/tex/b.jpg- o.k. ] \r");
    UiDriver::click(editor->BBCheckPath());
    EXPECT_FALSE(editor->dirty);
    EXPECT_FALSE(editor->PBSave().Enabled());
    EXPECT_TRUE(editor->Close());
}

TEST_F(EditorTest, CheckThatRewritesPathsMarksTheEditorChanged) {
    volumes.makeFile("HD", "mat/tex/a.jpg");
    volumes.makeFile("HD", "mat/moved/b.jpg");
    WindowMXM* editor = openEditor(oakBytes("/old/b.jpg"));
    dialogs.expectMsgBox("1 [ /mat/tex/a.jpg- o.k. ] \r[ b.jpg - Path changed, o.k. ] \r");
    UiDriver::click(editor->BBCheckPath());
    EXPECT_TRUE(editor->dirty);
    EXPECT_TRUE(editor->PBSave().Enabled());
    EXPECT_FALSE(editor->BBRevert().Enabled());

    UiDriver::click(editor->PBSave());
    EXPECT_FALSE(editor->dirty);
    EXPECT_FALSE(editor->PBSave().Enabled());
    EXPECT_NE(volumes.folder().readFile("HD/mat/oak.mxm").find("/mat/moved/b.jpg"),
              std::string::npos);
}

TEST_F(EditorTest, MissingPathsGiveTheWorstSeverity) {
    WindowMXM* editor = openEditor(oakBytes("/old/c.jpg"));
    dialogs.expectMsgBox("3 [ a.jpg - not found, o.k.? ] \r[ c.jpg - not found, critical ] \r");
    editor->CheckPaths();
    EXPECT_TRUE(editor->dirty);
    EXPECT_TRUE(editor->PBSave().Enabled());
}

TEST_F(EditorTest, RevertBringsTheStoredPreviewBackAndKeepsBothButtons) {
    WindowMXM* editor = openEditor();
    UiDriver::dropImage(editor->CPreview(), solidImage(Qt::red));
    UiDriver::click(editor->BBRevert());
    EXPECT_FALSE(editor->dirty);
    EXPECT_TRUE(editor->PBSave().Enabled());
    EXPECT_TRUE(editor->BBRevert().Enabled());
    EXPECT_EQ(shownAt(*editor, 0, 0), MaterialBytes::patternPixel(1, 1));
    EXPECT_TRUE(editor->Close()); // reverted: no question
}

TEST_F(EditorTest, SaveWritesThePreviewInPlace) {
    WindowMXM* editor = openEditor();
    UiDriver::dropImage(editor->CPreview(), solidImage(Qt::red));
    UiDriver::click(editor->PBSave());
    EXPECT_FALSE(editor->dirty);
    EXPECT_FALSE(editor->PBSave().Enabled());
    EXPECT_TRUE(editor->BBRevert().Enabled());
    EXPECT_EQ(storedPreview()->graphics().Pixel(10, 10), Red);
}

TEST_F(EditorTest, SaveFromTheMenuWritesAnUnchangedEditorToo) {
    WindowMXM* editor = openEditor(oakBytes(), "mat/pine.mxm"); // stored name "oak"
    ASSERT_NE(editor->menuAction("FileSave"), nullptr);
    editor->menuAction("FileSave")->trigger();
    const Ref<FolderItem> file = volumes.item("HD", "mat/pine.mxm");
    const Ref<BinaryStream> stream = BinaryStream::Open(file, false);
    EXPECT_EQ(mxmFile(stream, file).getMaterialName(), "pine");
    EXPECT_FALSE(editor->PBSave().Enabled());
}

TEST_F(EditorTest, CancelledSaveAsBeepsAndKeepsTheChange) {
    WindowMXM* editor = openEditor();
    UiDriver::dropImage(editor->CPreview(), solidImage(Qt::red));
    dialogs.answerSaveFile(nullptr);
    editor->menuAction("FileSaveAs")->trigger();
    EXPECT_EQ(dialogs.beeps(), 1);
    EXPECT_TRUE(editor->dirty);
    EXPECT_TRUE(editor->PBSave().Enabled());
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].filter, "Maxwell Material");
    EXPECT_EQ(dialogs.shown()[0].defaultName, "new");
}

TEST_F(EditorTest, SaveAsWritesTheCopyAndALaterSaveGoesToTheOpenedFile) {
    WindowMXM* editor = openEditor();
    UiDriver::dropImage(editor->CPreview(), solidImage(Qt::red));
    dialogs.answerSaveFile(volumes.item("HD", "copies/new"));
    volumes.makeFolder("HD", "copies");
    editor->menuAction("FileSaveAs")->trigger();
    EXPECT_FALSE(editor->dirty);
    EXPECT_FALSE(editor->PBSave().Enabled());
    EXPECT_EQ(editor->Title(), "oak");
    EXPECT_EQ(storedPreview("copies/new.mxm")->graphics().Pixel(10, 10), Red);

    UiDriver::dropImage(editor->CPreview(), solidImage(Qt::green));
    UiDriver::click(editor->PBSave());
    EXPECT_EQ(storedPreview()->graphics().Pixel(10, 10), Green);
    EXPECT_EQ(storedPreview("copies/new.mxm")->graphics().Pixel(10, 10), Red);
}

TEST_F(EditorTest, FailedSaveKeepsTheEditorChanged) {
    WindowMXM* editor = openEditor();
    UiDriver::dropImage(editor->CPreview(), solidImage(Qt::red));
    std::filesystem::remove_all(volumes.pathOf("HD", "mat"));
    dialogs.expectMsgBox("Can't write file... Probably file is opened in another application!");
    UiDriver::click(editor->PBSave());
    EXPECT_TRUE(editor->dirty);
    EXPECT_TRUE(editor->PBSave().Enabled());
}

// --- The close question ---

class CloseQuestionTest : public EditorTest {
  protected:
    WindowMXM* changedEditor() {
        WindowMXM* editor = openEditor();
        UiDriver::dropImage(editor->CPreview(), solidImage(Qt::red));
        return editor;
    }
};

TEST_F(CloseQuestionTest, UnchangedEditorClosesWithoutAQuestion) {
    WindowMXM* editor = openEditor();
    editor->menuAction("FileClose")->trigger();
    EXPECT_TRUE(editor->IsClosed());
    EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(CloseQuestionTest, CancelKeepsTheEditorOpenAndChanged) {
    WindowMXM* editor = changedEditor();
    dialogs.answerMessageDialog(MessageDialogChoice::Cancel);
    editor->menuAction("FileClose")->trigger();
    EXPECT_FALSE(editor->IsClosed());
    EXPECT_TRUE(editor->dirty);
    const ShownDialog& shown = dialogs.shown().at(0);
    EXPECT_EQ(shown.text, question);
    EXPECT_EQ(shown.explanation, "If you don't save, your changes will be lost. ");
    EXPECT_EQ(shown.buttons, (std::vector<std::string>{"Save", "Don't Save", "Cancel"}));
}

TEST_F(CloseQuestionTest, DontSaveClosesWithoutWriting) {
    WindowMXM* editor = changedEditor();
    const std::string before = volumes.folder().readFile("HD/mat/oak.mxm");
    dialogs.answerMessageDialog(MessageDialogChoice::AlternateAction);
    EXPECT_TRUE(editor->Close());
    EXPECT_EQ(volumes.folder().readFile("HD/mat/oak.mxm"), before);
}

TEST_F(CloseQuestionTest, SaveWritesInPlaceAndCloses) {
    WindowMXM* editor = changedEditor();
    dialogs.answerMessageDialog(MessageDialogChoice::Action);
    EXPECT_TRUE(editor->Close());
    EXPECT_EQ(storedPreview()->graphics().Pixel(10, 10), Red);
}

TEST_F(CloseQuestionTest, SaveThatCannotWriteKeepsTheEditorOpen) {
    WindowMXM* editor = changedEditor();
    std::filesystem::remove_all(volumes.pathOf("HD", "mat"));
    dialogs.answerMessageDialog(MessageDialogChoice::Action)
        .expectMsgBox("Can't write file... Probably file is opened in another application!");
    EXPECT_FALSE(editor->Close());
    EXPECT_TRUE(editor->dirty);
}

TEST_F(CloseQuestionTest, QuittingAsksEveryChangedEditor) {
    Application application;
    WindowMXM* unchanged = openEditor(oakBytes(), "mat/pine.mxm");
    WindowMXM* changed = changedEditor();

    dialogs.answerMessageDialog(MessageDialogChoice::Cancel);
    EXPECT_FALSE(application.Quit());
    EXPECT_FALSE(changed->IsClosed());
    EXPECT_TRUE(changed->dirty);

    dialogs.answerMessageDialog(MessageDialogChoice::Action);
    EXPECT_TRUE(application.Quit());
    EXPECT_TRUE(changed->IsClosed());
    EXPECT_TRUE(unchanged->IsClosed());
    EXPECT_EQ(storedPreview()->graphics().Pixel(10, 10), Red);
}

TEST_F(CloseQuestionTest, QuittingStopsWhenTheQuestionsSaveCannotWrite) {
    Application application;
    WindowMXM* editor = changedEditor();
    std::filesystem::remove_all(volumes.pathOf("HD", "mat"));
    dialogs.answerMessageDialog(MessageDialogChoice::Action).expectAnyMsgBox();
    EXPECT_FALSE(application.Quit());
    EXPECT_FALSE(editor->IsClosed());

    dialogs.answerMessageDialog(MessageDialogChoice::AlternateAction);
    EXPECT_TRUE(application.Quit());
}

} // namespace
