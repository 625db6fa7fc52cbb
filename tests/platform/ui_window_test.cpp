#include "Application.h"
#include "Canvas.h"
#include "FileType.h"
#include "Graphics.h"
#include "Listbox.h"
#include "PushButton.h"
#include "QuitMenuItem.h"
#include "TempFolder.h"
#include "UiDriver.h"
#include "UiTest.h"
#include "Window.h"

#include <QAction>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>

namespace {

std::vector<std::string> journal;

// Notes its events in the journal and counts the saves it handles. Its list
// box removes the selected row on the delete keys; its canvas takes pictures
// and picture files.
class JournalWindow : public Window {
  public:
    JournalWindow() { construct(); }
    ~JournalWindow() override { journal.push_back("deleted"); }
    bool Event_CancelClose(bool appQuitting) override {
        journal.push_back("CancelClose");
        askedWhileQuitting = appQuitting;
        return refuseClose;
    }
    void Event_Close() override { journal.push_back("Close"); }
    bool refuseClose = false, askedWhileQuitting = false;
    int saves = 0;
    std::vector<DragItem> drops;

  protected:
    void CreateControls() override {
        auto& ok = addControl<PushButton>("PBOk", 10, 80, 80, 20);
        ok.onAction([] { journal.push_back("Action"); });
        auto& list = addControl<Listbox>("LBRows", 10, 10, 180, 60);
        list.onKeyDown([&list](int key) {
            journal.push_back("key " + std::to_string(key));
            if (key == 8 || key == 127)
                list.RemoveRow(list.ListIndex());
            return key == 8 || key == 127;
        });
        for (const char* row : {"zero", "one", "two", "three"})
            list.AddRow(row);
        auto& canvas = addControl<Canvas>("CPreview", 200, 10, 20, 20);
        canvas.onOpen([&canvas] {
            canvas.AcceptPictureDrop();
            canvas.AcceptFileDrop("Pictures");
        });
        canvas.onDropObject([this](const DragItem& item) { drops.push_back(item); });
    }
    void AddMenuHandlers() override {
        AddMenuHandler("FileSave", [this] { return ++saves > 0; });
        AddMenuHandler("FileOpen", [] { return false; }); // declines: the application's runs
    }
};

class WindowTest : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        pictures.setName("Pictures");
        pictures.setExtensions(".png;.bmp");
        pictures.toString();
        auto bar = makeRef<MenuBar>();
        auto file = makeRef<MenuItem>("FileMenu", "&File");
        bar->Append(file);
        for (const char* name : {"FileOpen", "FileSave", "EditCopy"})
            file->Append(makeRef<MenuItem>(name, name));
        file->Append(makeRef<QuitMenuItem>("FileQuit", "&Quit", "Cmd+Q"));
        app.setMenuBar(bar);
        app.AddMenuHandler("FileOpen", [this] { return ++appCommands > 0; });
        window = new JournalWindow;
        journal.clear();
    }

    Application app;
    FileType pictures;
    int appCommands = 0;
    JournalWindow* window = nullptr;
};

} // namespace

TEST(MenuShortcut, CmdIsCtrlAndLetterCaseDoesNotMatter) {
    EXPECT_EQ(MenuItem::keySequenceOf("Cmd+Shift+S"),
              QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    EXPECT_EQ(MenuItem::keySequenceOf("Cmd+l"), QKeySequence(Qt::CTRL | Qt::Key_L));
    EXPECT_EQ(MenuItem::keySequenceOf("Cmd+I"), QKeySequence(Qt::CTRL | Qt::Key_I));
    EXPECT_TRUE(MenuItem::keySequenceOf("Cmd+").isEmpty());
    EXPECT_TRUE(MenuItem::keySequenceOf("Hyper+K").isEmpty());
}

TEST_F(WindowTest, CommandsGoToTheFrontWindowThenTheApplicationAndNeedAHandler) {
    auto* front = new JournalWindow;
    front->Show();
    EXPECT_FALSE(front->menuAction("EditCopy")->isEnabled());
    front->menuAction("FileOpen")->trigger();
    EXPECT_EQ(appCommands, 1);
    app.AddMenuHandler("FileSave", [this] { return ++appCommands > 0; });
    EXPECT_TRUE(app.HandleMenuCommand("FileSave")); // the front window's handler comes first
    EXPECT_EQ(front->saves, 1);
    // The application's FileOpen ran once; its FileSave and the back window's did not.
    EXPECT_EQ(window->saves + appCommands, 1);
    front->Close();
    EXPECT_TRUE(app.HandleMenuCommand("FileSave"));
    EXPECT_EQ(window->saves, 1);
}

TEST_F(WindowTest, CancelCloseKeepsTheWindowForEveryKindOfClose) {
    window->refuseClose = true;
    EXPECT_FALSE(window->Close());
    window->widget()->close(); // the window manager's close box
    EXPECT_EQ(journal, (std::vector<std::string>{"CancelClose", "CancelClose"}));
    EXPECT_TRUE(window->Visible());
    window->refuseClose = false;
    window->widget()->close();
    EXPECT_EQ(journal.back(), "Close");
    EXPECT_TRUE(Window::openWindows().empty());
}

TEST_F(WindowTest, QuitAsksEveryWindowAndAnyRefusalStopsIt) {
    auto* refusing = new JournalWindow;
    auto* last = new JournalWindow;
    refusing->refuseClose = true;
    refusing->menuAction("FileQuit")->trigger();
    EXPECT_TRUE(last->IsClosed());
    EXPECT_TRUE(refusing->askedWhileQuitting);
    EXPECT_FALSE(refusing->IsClosed());
    EXPECT_FALSE(window->IsClosed());
    refusing->refuseClose = false;
    EXPECT_TRUE(app.Quit());
    EXPECT_TRUE(Window::openWindows().empty());
}

TEST_F(WindowTest, AClosedWindowIsDeletedOnlyAfterTheEventThatClosedItHasEnded) {
    auto& ok = window->control<PushButton>("PBOk");
    ok.onAction([&] {
        window->Close();
        app.DoEvents(); // events pumped inside the handler must not delete it
        journal.push_back(window->IsClosed() ? "still here" : "open");
    });
    UiDriver::click(ok);
    app.DoEvents();
    EXPECT_EQ(std::vector(journal.end() - 2, journal.end()),
              (std::vector<std::string>{"still here", "deleted"}));
}

TEST_F(WindowTest, DoEventsDeliversAQueuedClick) {
    QWidget* ok = window->control<PushButton>("PBOk").widget();
    const QPointF middle(ok->width() / 2.0, ok->height() / 2.0);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
        QCoreApplication::postEvent(ok, new QMouseEvent(type, middle, ok->mapToGlobal(middle),
                                                        Qt::LeftButton, Qt::LeftButton, {}));
    app.DoEvents(-1);
    EXPECT_EQ(journal, std::vector<std::string>{"Action"});
}

TEST_F(WindowTest, AnExceptionFromAnEventIsReportedAndTheProgramGoesOn) {
    window->control<PushButton>("PBOk").onAction([] { throw NilObjectException(); });
    dialogs.expectAnyMsgBox();
    UiDriver::click(window->control<PushButton>("PBOk"));
    EXPECT_NE(dialogs.msgBoxes().at(0).find("NilObjectException"), std::string::npos);
    EXPECT_NE(dialogs.msgBoxes().at(0).find("A nil object was used."), std::string::npos);
    EXPECT_FALSE(window->IsClosed());
}

TEST_F(WindowTest, ListboxDeleteKeysRemoveTheSelectedRowAndLaterRowsMoveUp) {
    auto& list = window->control<Listbox>("LBRows");
    list.setListIndex(1);
    UiDriver::pressKey(list, Qt::Key_Backspace);
    list.setListIndex(2);
    UiDriver::pressKey(list, Qt::Key_Delete);
    UiDriver::pressKey(list, Qt::Key_A, "a");
    EXPECT_EQ(journal, (std::vector<std::string>{"key 8", "key 127", "key 97"}));
    ASSERT_EQ(list.ListCount(), 2);
    EXPECT_EQ(list.Cell(1), "two");
    EXPECT_THROW(list.RemoveRow(2), OutOfBoundsException);
}

TEST_F(WindowTest, CanvasTakesPicturesAndThePictureFilesAmongTheDroppedOnes) {
    TempFolder temp;
    const std::string text = temp.makeFile("notes.txt");
    const std::string bitmap = temp.makeFile("a.bmp");
    auto& canvas = window->control<Canvas>("CPreview");
    EXPECT_FALSE(UiDriver::dropFiles(canvas, {text}));
    ASSERT_TRUE(UiDriver::dropFiles(canvas, {text, bitmap, temp.makeFile("Shot.PNG")}));
    QImage image(4, 5, QImage::Format_RGB32);
    image.fill(Qt::green);
    ASSERT_TRUE(UiDriver::dropImage(canvas, image));
    ASSERT_EQ(window->drops.size(), 2u);
    EXPECT_EQ(window->drops[0].FolderItem()->NativePath(), bitmap);
    EXPECT_EQ(window->drops[0].FolderItems().size(), 2u); // Shot.PNG counts too
    EXPECT_EQ(window->drops[1].Picture()->graphics().Pixel(2, 2), RGB(0, 255, 0));
}
