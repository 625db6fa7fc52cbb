#include "AppTest.h"
#include "PictureImage.h"
#include "SearchLocations.h"
#include "WindowMXM.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QImage>
#include <QMenu>
#include <QMenuBar>

#include <filesystem>
#include <set>

namespace {

using enum MessageDialogChoice;

const QRgb Red = qRgb(255, 0, 0), Green = qRgb(0, 255, 0);

class EditorTest : public AppTest {
  protected:
    static QRgb rgb(Color c) { return qRgb(c.red, c.green, c.blue); }
    static QRgb pattern(int x, int y) { return rgb(MaterialBytes::patternPixel(x, y)); }
    static QImage solid(Qt::GlobalColor colour) {
        QImage image(50, 40, QImage::Format_RGB32);
        image.fill(colour);
        return image;
    }
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
    // A BMP file of width x height pixels at 24 bits up to its pixel rows.
    static std::string bmpHeader(uint32_t width, uint32_t height) {
        return "BM" + encodeUInt32(54 + (width * 3 + 3) / 4 * 4 * height) + encodeUInt32(0) +
               encodeUInt32(54) + encodeUInt32(40) + encodeUInt32(width) + encodeUInt32(height) +
               encodeUInt32(1 | 24 << 16) + std::string(24, '\0');
    }
    QRgb storedPixel(const std::string& relative) const {
        return rgb(Graphics(*read(relative)->PreviewPict).Pixel(10, 10));
    }
    static void drop(WindowMXM& editor, Qt::GlobalColor colour) {
        ASSERT_TRUE(UiDriver::dropImage(editor.CPreview(), solid(colour)));
    }
};

// While an editor is in front, every command the program handles has an
// enabled item and the Edit items (no handler) are off; no two items share a
// shortcut (Ctrl+O and Ctrl+W are pressed by the app and close-key tests).
TEST_F(EditorTest, EveryCommandReachableByItsOwnShortcut) {
    WindowMXM* editor = openEditor();
    for (const std::string command :
         {"FileOpenFolder", "FileOpen", "FileClose", "FileEditDefaultLocations", "FileSave",
          "FileSaveAs", "FileQuit", "EditCopy", "EditPaste", "EditSelectAll"}) {
        const QAction* action = editor->menuAction(command);
        ASSERT_NE(action, nullptr) << command;
        EXPECT_EQ(action->isEnabled() && !action->text().isEmpty(), !command.starts_with("Edit"))
            << command;
    }
    std::set<QString> shortcuts;
    for (const QAction* title : editor->menuBarWidget()->actions())
        for (const QAction* item : title->menu()->actions())
            EXPECT_TRUE(item->isSeparator() || shortcuts.insert(item->shortcut().toString()).second)
                << item->text().toStdString();
}

// The canvas shows preview pixels 1 to 197. Of dropped files only the first
// picture file counts; one that gives no picture changes nothing and says
// why, and a picture within the pixel limit is taken whatever its size.
TEST_F(EditorTest, PaintAndDroppedFiles) {
    const std::string red = volumes.pathOf("HD", "r.PNG"), green = volumes.pathOf("HD", "g.png"),
                      text = volumes.makeFile("HD", "a.txt", "x");
    solid(Qt::red).save(QString::fromStdString(red), "PNG");
    solid(Qt::green).save(QString::fromStdString(green), "PNG");
    WindowMXM* editor = openEditor();
    const QImage& image = shown(*editor);
    ASSERT_EQ(image.size(), QSize(197, 197));
    for (int y = 0; y < 197; ++y)
        for (int x = 0; x < 197; ++x)
            ASSERT_EQ(image.pixel(x, y), pattern(x + 1, y + 1)) << x;
    EXPECT_FALSE(UiDriver::dropFiles(editor->CPreview(), {text}));
    const std::string cutBytes = volumes.folder().readFile("HD/r.PNG").substr(0, 60),
                      cut = volumes.makeFile("HD", "cut.png", cutBytes),
                      huge = volumes.makeFile("HD", "huge.bmp", bmpHeader(16000, 16000)),
                      undecoded = " could not be read: it holds no picture that can be decoded "
                                  "(Unable to read image data).";
    dialogs.expectMsgBox("The picture \"" + cut + "\"" + undecoded)
        .expectMsgBox("The picture \"" + huge +
                      "\" could not be read: it is 16000 x 16000 pixels, "
                      "more than the 67108864 pixels (8192 x 8192) that a picture may have.")
        .expectMsgBox("The dropped picture" + undecoded);
    QMimeData cutData; // a picture dragged from another program
    cutData.setData("image/png", QByteArray::fromStdString(cutBytes));
    EXPECT_TRUE(UiDriver::dropFiles(editor->CPreview(), {cut}) &&
                UiDriver::dropFiles(editor->CPreview(), {huge}) &&
                UiDriver::drop(editor->CPreview(), cutData));
    EXPECT_EQ(state(*editor), "---");
    ASSERT_TRUE(UiDriver::dropFiles(editor->CPreview(), {text, red, green}));
    EXPECT_EQ(shown(*editor).pixel(0, 0), Red);
    const std::string big = bmpHeader(6000, 6000) + std::string(18000 * 6000, '\0');
    ASSERT_TRUE(UiDriver::dropFiles(editor->CPreview(), {volumes.makeFile("HD", "big.bmp", big)}));
    EXPECT_EQ(shown(*editor).pixel(0, 0), qRgb(0, 0, 0));
}

// One editor through every command, against the table of its changed state
// and buttons.
TEST_F(EditorTest, CommandsMoveTheChangedStateAndTheButtons) {
    WindowMXM* editor = openEditor("tex/pine.mxm", material("pine", "/old/b.jpg"));
    dialogs.expectMsgBox("1 [ /tex/a.jpg- o.k. ] \r[ b.jpg - Path changed, o.k. ] \r");
    UiDriver::click(editor->BBCheckPath());
    EXPECT_EQ(state(*editor), "dS-");
    UiDriver::click(editor->PBSave());
    EXPECT_EQ(state(*editor), "---");
    EXPECT_EQ(read("tex/pine.mxm")->mxmPaths[1].getString(), "/tex/b.jpg");
    dialogs.expectMsgBox("0 [ /tex/a.jpg- o.k. ] \r[ /tex/b.jpg- o.k. ] \r");
    UiDriver::click(editor->BBCheckPath());
    EXPECT_EQ(state(*editor), "---");

    drop(*editor, Qt::red); // image data, not a file (the copy below shows it was taken)
    UiDriver::click(editor->BBRevert());
    EXPECT_EQ(state(*editor), "-SR");
    EXPECT_EQ(shown(*editor).pixel(0, 0), pattern(1, 1));

    drop(*editor, Qt::red);
    dialogs.answerSaveFile(nullptr);
    editor->menuAction("FileSaveAs")->trigger();
    EXPECT_EQ(dialogs.beeps(), 1);
    EXPECT_EQ(state(*editor), "dSR");

    dialogs.answerSaveFile(volumes.item("HD", "tex/copy"));
    editor->menuAction("FileSaveAs")->trigger();
    EXPECT_EQ(state(*editor), "--R");
    drop(*editor, Qt::green);
    editor->menuAction("FileSave")->trigger(); // to the file opened, not the copy
    EXPECT_EQ(storedPixel("tex/copy.mxm"), Red);
    EXPECT_EQ(storedPixel("tex/pine.mxm"), Green);
    EXPECT_TRUE(editor->Close()); // nothing to lose: no question
}

TEST_F(EditorTest, CloseQuestionByCloseAndByQuit) {
    for (bool quitting : {false, true})
        for (MessageDialogChoice answer : {Cancel, AlternateAction, Action}) {
            SCOPED_TRACE(testing::Message() << quitting << static_cast<int>(answer));
            const bool closes = answer != Cancel;
            WindowMXM* editor = openEditor();
            drop(*editor, Qt::red);
            dialogs.answerMessageDialog(answer);
            if (quitting)
                EXPECT_EQ(app->Quit(), closes);
            else
                editor->menuAction("FileClose")->trigger();
            EXPECT_EQ(editor->IsClosed(), closes);
            EXPECT_TRUE(closes || editor->dirty);
            EXPECT_EQ(storedPixel("tex/oak.mxm") == Red, answer == Action);
            Window::DiscardAll();
        }
    const ShownDialog& shown = dialogs.shown().at(0);
    EXPECT_EQ(shown.text, "Do you want to save changes to this document\u2013 before closing?");
    EXPECT_EQ(shown.buttons, (std::vector<std::string>{"Save", "Don't Save", "Cancel"}));
}

// At Quit each changed editor comes to the front, minimised or not, for its
// question, which belongs to it: the user sees which material it is about.
TEST_F(EditorTest, QuitAsksEachChangedEditorInFront) {
    struct FrontDialogs : ScriptedDialogs {
        MessageDialogChoice showMessageDialog(const MessageDialogContent& dialog,
                                              const Window* parent) override {
            const Window* front = Window::frontmost();
            inFront.push_back(front == parent && !front->widget()->isMinimized());
            return ScriptedDialogs::showMessageDialog(dialog, parent);
        }
        std::vector<bool> inFront;
    };
    WindowMXM* oak = openEditor();
    WindowMXM* pine = openEditor("tex/pine.mxm", material("pine"));
    drop(*oak, Qt::red);
    drop(*pine, Qt::red);
    pine->widget()->showMinimized();
    oak->Show();
    FrontDialogs watching;
    watching.answerMessageDialog(AlternateAction).answerMessageDialog(AlternateAction);
    EXPECT_TRUE(app->Quit());
    ASSERT_EQ(watching.shown().size(), 2u);
    EXPECT_TRUE(watching.shown()[0].parent == pine && watching.shown()[1].parent == oak);
    EXPECT_EQ(watching.inFront, (std::vector<bool>{true, true}));
}

// Tab reaches every button in the order of creation, the bevel buttons too.
TEST_F(EditorTest, TabReachesEveryButton) {
    WindowMXM* editor = openEditor();
    drop(*editor, Qt::red);
    std::set<QWidget*> reached;
    for (int i = 0; i < 4; ++i) {
        UiDriver::pressKey(*editor->widget(), Qt::Key_Tab);
        reached.insert(QApplication::focusWidget());
    }
    EXPECT_EQ(reached,
              (std::set<QWidget*>{editor->BBRevert().widget(), editor->BBCheckPath().widget(),
                                  editor->PBSave().widget()}));
}

// "Check Path" shows the busy cursor over the program while it searches,
// and the usual one after it, also when the check fails.
TEST_F(EditorTest, CheckPathIsBusyWhileItSearches) {
    Qt::CursorShape inSearch = Qt::ArrowCursor;
    const SearchLocations::FolderList none;
    SearchLocations::setSearchLocationsSource([&]() -> const SearchLocations::FolderList& {
        if (const QCursor* cursor = QApplication::overrideCursor())
            inSearch = cursor->shape();
        return none;
    });
    WindowMXM* editor = openEditor("tex/pine.mxm", material("pine", "/old/gone.jpg"));
    dialogs.expectAnyMsgBox().expectMsgBox("Exception in WindowMXM.CheckPaths");
    UiDriver::click(editor->BBCheckPath());
    UiDriver::click((new WindowMXM)->BBCheckPath()); // no material: the check fails
    EXPECT_EQ(inSearch, Qt::WaitCursor);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// Paths that a check rewrote are changes until saved: reverting the preview
// keeps them, and so does a reference rewritten inside a raw block, which
// leaves the severity at 0.
TEST_F(EditorTest, RewrittenPathsStayChangesUntilSaved) {
    WindowMXM* moved = openEditor("tex/pine.mxm", material("pine", "/old/b.jpg"));
    drop(*moved, Qt::red);
    dialogs.expectAnyMsgBox();
    UiDriver::click(moved->BBCheckPath());
    UiDriver::click(moved->BBRevert());
    EXPECT_EQ(state(*moved), "dSR");

    volumes.makeFile("HD", "tex/glass.ior");
    const std::string block = std::string("p\0\x10", 3) + "/old/x/glass.ior";
    WindowMXM* relocated = openEditor(
        "tex/ref.mxm",
        MaterialBytes().marker().string("ref").preview(2, 2).middle().record("x", block).bytes());
    dialogs.expectAnyMsgBox().answerMessageDialog(Cancel);
    UiDriver::click(relocated->BBCheckPath());
    EXPECT_EQ(state(*relocated), "dS-");
    EXPECT_FALSE(relocated->Close());
}

// A material is open in one editor at most: opening it again, under any
// name, brings that editor to the front. A save never replaces a file
// changed since it was read (here by another editor's "Save As"): it says so
// and writes nothing, and "Save As" still works.
TEST_F(EditorTest, ASaveNeverReplacesAFileChangedSinceItWasRead) {
    WindowMXM* oak = openEditor();
    WindowMXM* pine = openEditor("tex/pine.mxm", material("pine"));
    std::filesystem::create_hard_link(volumes.pathOf("HD", "tex/oak.mxm"),
                                      volumes.pathOf("HD", "oak.mxm"));
    for (const char* name : {"tex/oak.mxm", "oak.mxm"}) {
        app->OpenDocument(volumes.item("HD", name));
        EXPECT_EQ(Window::frontmost(), oak);
    }
    EXPECT_EQ(Window::openWindows().size(), 3u);

    drop(*oak, Qt::red);
    dialogs.answerSaveFile(volumes.item("HD", "tex/pine.mxm"));
    oak->menuAction("FileSaveAs")->trigger();
    drop(*pine, Qt::green);
    dialogs.expectMsgBox("The file \"" + volumes.pathOf("HD", "tex/pine.mxm") +
                         "\" was changed by another program since it was read, and was not "
                         "written.");
    UiDriver::click(pine->PBSave());
    EXPECT_EQ(state(*pine), "dSR");
    EXPECT_EQ(storedPixel("tex/pine.mxm"), Red);
    dialogs.answerSaveFile(volumes.item("HD", "tex/pine2.mxm"));
    pine->menuAction("FileSaveAs")->trigger();
    EXPECT_EQ(storedPixel("tex/pine2.mxm"), Green);
}

// A write that fails must not pass for a save, by "Save" or by the close
// question's "Save": the change would be lost without a word.
TEST_F(EditorTest, FailedSaveKeepsTheEditorChangedAndOpen) {
    WindowMXM* editor = openEditor("gone/oak.mxm");
    drop(*editor, Qt::red);
    std::filesystem::remove_all(volumes.pathOf("HD", "gone"));
    // The writer's own message, each time.
    dialogs.expectAnyMsgBox().answerMessageDialog(Action).expectAnyMsgBox();
    UiDriver::click(editor->PBSave());
    EXPECT_EQ(state(*editor), "dSR");
    EXPECT_FALSE(app->Quit());
    EXPECT_FALSE(editor->IsClosed());
}

} // namespace
