#include "AppTest.h"
#include "WindowMXM.h"

#include <QAction>
#include <QImage>
#include <QMenu>
#include <QMenuBar>

#include <filesystem>

namespace {

const QRgb Red = qRgb(255, 0, 0), Green = qRgb(0, 255, 0);

QRgb rgb(Color c) {
    return qRgb(c.red, c.green, c.blue);
}

QImage solid(Qt::GlobalColor colour) {
    QImage image(50, 40, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

class EditorTest : public AppTest {
  protected:
    // Opens the material as the program does.
    WindowMXM* openEditor(const std::string& relative = "tex/oak.mxm",
                          const std::string& bytes = material("oak")) {
        volumes.makeFile("HD", relative, bytes);
        app->OpenDocument(volumes.item("HD", relative));
        return dynamic_cast<WindowMXM*>(newest());
    }
    // The changed state and the enabled "Save" and "Revert Icon": "dSR", "-S-", ...
    static std::string state(const WindowMXM& e) {
        return {e.dirty ? 'd' : '-', e.PBSave().Enabled() ? 'S' : '-',
                e.BBRevert().Enabled() ? 'R' : '-'};
    }
    static const QImage& shown(WindowMXM& editor) {
        editor.CPreview().paintNow();
        return editor.CPreview().picture().image();
    }
    QRgb storedPixel(const std::string& relative) const {
        return rgb(read(relative)->PreviewPict->graphics().Pixel(10, 10));
    }
    static void drop(WindowMXM& editor, Qt::GlobalColor colour) {
        ASSERT_TRUE(UiDriver::dropImage(editor.CPreview(), solid(colour)));
    }
};

// Each item as "text shortcut", " off" when disabled: an item is enabled
// while the editor or the application has a handler for it.
TEST_F(EditorTest, MenusInOrderWithTextsAndShortcuts) {
    std::vector<std::string> shown;
    for (const QAction* title : openEditor()->menuBarWidget()->actions()) {
        shown.push_back(title->text().toStdString());
        for (const QAction* a : title->menu()->actions())
            shown.push_back(a->isSeparator() ? "-"
                                             : (a->text() + " " + a->shortcut().toString() +
                                                (a->isEnabled() ? "" : " off"))
                                                   .toStdString());
    }
    EXPECT_EQ(shown, (std::vector<std::string>{
                         "&File", "Open Folder Ctrl+O", "-", "Change Preview Ctrl+I",
                         "Close Ctrl+W", "-", "Edit Default Locations... Ctrl+L", "-",
                         "Save Ctrl+S", "Save As Ctrl+Shift+S", "-", "&Quit Ctrl+Q", "&Edit",
                         "&Copy Ctrl+C off", "&Paste Ctrl+V off", "-", "Select All Ctrl+A off"}));
}

TEST_F(EditorTest, PaintShowsPreviewPixelsOneTo197) {
    const QImage& image = shown(*openEditor());
    ASSERT_EQ(image.size(), QSize(197, 197));
    for (int y = 0; y < 197; ++y)
        for (int x = 0; x < 197; ++x)
            ASSERT_EQ(image.pixel(x, y), rgb(MaterialBytes::patternPixel(x + 1, y + 1))) << x;
}

// The first file counts, when it is a picture; a ".png" that is no picture
// leaves the preview yet counts as a change.
TEST_F(EditorTest, DropReplacesThePreviewButNotTheTitle) {
    const std::string red = volumes.makeFile("HD", "1.PNG"),
                      green = volumes.makeFile("HD", "2.png");
    solid(Qt::red).save(QString::fromStdString(red), "PNG");
    solid(Qt::green).save(QString::fromStdString(green), "PNG");
    const std::string text = volumes.makeFile("HD", "a.txt", "x"),
                      fake = volumes.makeFile("HD", "a.png", "x");
    const QRgb stored = rgb(MaterialBytes::patternPixel(1, 1));
    for (const auto& [files, after, pixel] :
         {std::tuple{std::vector{text}, "---", stored},
          std::tuple{std::vector{fake}, "dSR", stored},
          std::tuple{std::vector{red, green, text}, "dSR", Red}}) {
        SCOPED_TRACE(files[0]);
        WindowMXM* editor = openEditor();
        EXPECT_EQ(UiDriver::dropFiles(editor->CPreview(), files), after[0] == 'd');
        EXPECT_EQ(state(*editor), after);
        EXPECT_EQ(shown(*editor).pixel(0, 0), pixel);
        EXPECT_EQ(editor->Title(), "oak");
    }
}

// One editor through every command, against the table of its changed state
// and buttons.
TEST_F(EditorTest, CommandsMoveTheChangedStateAndTheButtons) {
    WindowMXM* editor = openEditor("tex/pine.mxm", material("pine", "/old/b.jpg"));
    EXPECT_EQ(state(*editor), "---");
    dialogs.expectMsgBox("1 [ /tex/a.jpg- o.k. ] \r[ b.jpg - Path changed, o.k. ] \r");
    UiDriver::click(editor->BBCheckPath());
    EXPECT_EQ(state(*editor), "dS-");
    UiDriver::click(editor->PBSave());
    EXPECT_EQ(state(*editor), "---");
    EXPECT_EQ(read("tex/pine.mxm")->mxmPaths[1].getString(), "/tex/b.jpg");
    dialogs.expectMsgBox("0 [ /tex/a.jpg- o.k. ] \r[ /tex/b.jpg- o.k. ] \r");
    UiDriver::click(editor->BBCheckPath());
    EXPECT_EQ(state(*editor), "---");

    drop(*editor, Qt::red); // image data, not a file
    EXPECT_EQ(shown(*editor).pixel(196, 196), Red);
    UiDriver::click(editor->BBRevert());
    EXPECT_EQ(state(*editor), "-SR");
    EXPECT_EQ(shown(*editor).pixel(0, 0), rgb(MaterialBytes::patternPixel(1, 1)));

    drop(*editor, Qt::red);
    dialogs.answerSaveFile(nullptr);
    editor->menuAction("FileSaveAs")->trigger();
    EXPECT_EQ(dialogs.beeps(), 1);
    EXPECT_EQ(state(*editor), "dSR");
    EXPECT_EQ(dialogs.shown().back().filter, "Maxwell Material");
    EXPECT_EQ(dialogs.shown().back().defaultName, "new");

    volumes.makeFolder("HD", "copies");
    dialogs.answerSaveFile(volumes.item("HD", "copies/new"));
    editor->menuAction("FileSaveAs")->trigger();
    EXPECT_EQ(state(*editor), "--R");
    drop(*editor, Qt::green);
    editor->menuAction("FileSave")->trigger(); // to the file opened, not the copy
    EXPECT_EQ(storedPixel("copies/new.mxm"), Red);
    EXPECT_EQ(storedPixel("tex/pine.mxm"), Green);
    EXPECT_EQ(editor->Title(), "pine");
    EXPECT_TRUE(editor->Close()); // nothing to lose: no question
}

TEST_F(EditorTest, CloseQuestionByCloseAndByQuit) {
    int n = 0;
    for (bool quitting : {false, true})
        for (MessageDialogChoice answer :
             {MessageDialogChoice::Cancel, MessageDialogChoice::AlternateAction,
              MessageDialogChoice::Action}) {
            SCOPED_TRACE(++n);
            const bool closes = answer != MessageDialogChoice::Cancel;
            const std::string relative = "tex/" + std::to_string(n) + ".mxm";
            WindowMXM* editor = openEditor(relative);
            drop(*editor, Qt::red);
            dialogs.answerMessageDialog(answer);
            if (quitting)
                EXPECT_EQ(app->Quit(), closes);
            else
                editor->menuAction("FileClose")->trigger();
            EXPECT_EQ(editor->IsClosed(), closes);
            EXPECT_TRUE(closes || editor->dirty);
            EXPECT_EQ(storedPixel(relative) == Red, answer == MessageDialogChoice::Action);
            Window::DiscardAll();
        }
    const ShownDialog& shown = dialogs.shown().at(0);
    EXPECT_EQ(shown.text, "Do you want to save changes to this document\u2013 before closing?");
    EXPECT_EQ(shown.explanation, "If you don't save, your changes will be lost. ");
    EXPECT_EQ(shown.buttons, (std::vector<std::string>{"Save", "Don't Save", "Cancel"}));
}

TEST_F(EditorTest, FailedSaveKeepsTheEditorChangedAndOpen) {
    const std::string cannotWrite =
        "Can't write file... Probably file is opened in another application!";
    WindowMXM* editor = openEditor("gone/oak.mxm");
    drop(*editor, Qt::red);
    std::filesystem::remove_all(volumes.pathOf("HD", "gone"));
    dialogs.expectMsgBox(cannotWrite)
        .answerMessageDialog(MessageDialogChoice::Action)
        .expectMsgBox(cannotWrite);
    UiDriver::click(editor->PBSave());
    EXPECT_EQ(state(*editor), "dSR");
    EXPECT_FALSE(app->Quit());
    EXPECT_FALSE(editor->IsClosed());
}

} // namespace
