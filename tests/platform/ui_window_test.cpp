#include "Application.h"
#include "Canvas.h"
#include "FileType.h"
#include "Graphics.h"
#include "Listbox.h"
#include "PushButton.h"
#include "TempFolder.h"
#include "UiDriver.h"
#include "UiTest.h"
#include "Window.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>

namespace {

std::vector<std::string> journal;

// Notes its events in the journal. Its list box removes the selected rows on
// the delete keys; its canvas takes pictures and picture files.
class JournalWindow : public Window {
  public:
    JournalWindow() { construct(); }
    ~JournalWindow() override { journal.push_back("deleted"); }
    bool Event_CancelClose(bool) override {
        journal.push_back("CancelClose");
        return refuseClose;
    }
    void Event_Close() override { journal.push_back("Close"); }
    bool refuseClose = false;
    std::vector<DragItem> drops;

  protected:
    void CreateControls() override {
        auto& ok = addControl<PushButton>("PBOk", 10, 80, 80, 20);
        ok.onAction([] { journal.push_back("Action"); });
        auto& list = addControl<Listbox>("LBRows", 10, 10, 180, 60);
        list.setSelectionType(1);
        list.onKeyDown([&list](int key) {
            journal.push_back("key " + std::to_string(key));
            for (int row = list.ListCount() - 1; row >= 0 && (key == 8 || key == 127); --row)
                if (list.Selected(row))
                    list.RemoveRow(row);
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
};

class WindowTest : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        pictures.setName("Pictures");
        pictures.setExtensions(".png;.bmp");
        pictures.toString();
        window = new JournalWindow;
        journal.clear();
    }

    FileType pictures;
    JournalWindow* window = nullptr;
};

} // namespace

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

TEST_F(WindowTest, AClosedWindowIsDeletedOnlyAfterTheEventThatClosedItHasEnded) {
    Application app;
    auto& ok = window->control<PushButton>("PBOk");
    ok.onAction([&] {
        window->Close();
        app.DoEvents(); // events pumped inside the handler must not delete it
        journal.push_back(window->IsClosed() ? "still here" : "open");
    });
    UiDriver::click(ok);
    app.DoEvents();
    EXPECT_EQ(journal.back(), "deleted");
    EXPECT_EQ(journal[journal.size() - 2], "still here");
}

TEST_F(WindowTest, DoEventsDeliversAQueuedClick) {
    QWidget* ok = window->control<PushButton>("PBOk").widget();
    const QPointF middle(ok->width() / 2.0, ok->height() / 2.0);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
        QCoreApplication::postEvent(ok, new QMouseEvent(type, middle, ok->mapToGlobal(middle),
                                                        Qt::LeftButton, Qt::LeftButton, {}));
    Application().DoEvents(-1);
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

TEST_F(WindowTest, ListboxDeleteKeysRemoveTheSelectedRowsAndLaterRowsMoveUp) {
    auto& list = window->control<Listbox>("LBRows");
    list.setSelected(1, true);
    list.setSelected(2, true);
    UiDriver::pressKey(list, Qt::Key_Backspace);
    ASSERT_EQ(list.ListCount(), 2);
    EXPECT_EQ(list.Cell(1), "three");
    list.setListIndex(1);
    UiDriver::pressKey(list, Qt::Key_Delete);
    UiDriver::pressKey(list, Qt::Key_A, "a");
    EXPECT_EQ(journal, (std::vector<std::string>{"key 8", "key 127", "key 97"}));
    ASSERT_EQ(list.ListCount(), 1);
    EXPECT_EQ(list.Cell(0), "zero");
    EXPECT_THROW(list.RemoveRow(1), OutOfBoundsException);
}

TEST_F(WindowTest, CanvasTakesPicturesAndThePictureFilesAmongTheDroppedOnes) {
    TempFolder temp;
    const std::string text = temp.makeFile("notes.txt");
    const std::string shot = temp.makeFile("Shot.PNG");
    const std::string bitmap = temp.makeFile("a.bmp");
    auto& canvas = window->control<Canvas>("CPreview");
    EXPECT_FALSE(UiDriver::dropFiles(canvas, {text}));
    EXPECT_FALSE(UiDriver::dropFiles(canvas, {temp.makeFolder("folder.png")}));
    ASSERT_TRUE(UiDriver::dropFiles(canvas, {text, bitmap, shot}));
    QImage image(4, 5, QImage::Format_RGB32);
    image.fill(Qt::green);
    ASSERT_TRUE(UiDriver::dropImage(canvas, image));
    ASSERT_EQ(window->drops.size(), 2u);
    EXPECT_EQ(window->drops[0].FolderItem()->NativePath(), bitmap);
    EXPECT_EQ(window->drops[0].FolderItems().size(), 2u);
    EXPECT_FALSE(window->drops[0].PictureAvailable());
    EXPECT_EQ(window->drops[1].Picture()->graphics().Pixel(2, 2), RGB(0, 255, 0));
}
