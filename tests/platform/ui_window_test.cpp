#include "Application.h"
#include "Listbox.h"
#include "ProgressBar.h"
#include "PushButton.h"
#include "StaticText.h"
#include "UiDriver.h"
#include "UiTest.h"
#include "Window.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>

namespace {

std::vector<std::string>* journal = nullptr;

// Notes every step and event in the shared journal.
class StepWindow : public Window {
  public:
    StepWindow() { construct(); }
    ~StepWindow() override { journal->push_back("deleted"); }

    void Event_Open() override { journal->push_back("Open"); }
    bool Event_CancelClose(bool) override {
        journal->push_back("CancelClose");
        return refuseClose;
    }
    void Event_Close() override { journal->push_back("Close"); }

    bool refuseClose = false;

  protected:
    void Layout() override {
        journal->push_back("Layout");
        setTitle("Steps");
        setSize(200, 120);
        setResizeable(false);
        setBackColor(RGB(0x50, 0x50, 0x50));
    }
    void CreateControls() override {
        journal->push_back("CreateControls");
        auto& ok = addControl<PushButton>("PBOk", 10, 80, 80, 20);
        ok.setCaption("OK");
        ok.setDefault(true);
        ok.onAction([] { journal->push_back("Action"); });
        ok.onOpen([] { journal->push_back("PBOk.Open"); });
        addControl<StaticText>("StaticText1", 10, 10, 180, 20).setText("Hello");
    }
    void AddMenuHandlers() override { journal->push_back("AddMenuHandlers"); }
};

// Closes itself while it opens, as a window that does all its work there.
class SelfClosingWindow : public Window {
  public:
    SelfClosingWindow() { construct(); }
    void Event_Open() override { Close(); }
};

class WindowTest : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        journal = &steps;
    }
    void TearDown() override {
        UiTest::TearDown();
        journal = nullptr;
    }

    std::vector<std::string> steps;
};

} // namespace

TEST_F(WindowTest, ConstructionRunsTheStepsThenOpensAndShows) {
    auto* window = new StepWindow;
    EXPECT_EQ(steps, (std::vector<std::string>{"Layout", "CreateControls", "AddMenuHandlers",
                                               "PBOk.Open", "Open"}));
    EXPECT_TRUE(window->Visible());
    EXPECT_EQ(window->content()->size(), QSize(200, 120));
    EXPECT_EQ(window->control<StaticText>("StaticText1").Text(), "Hello");
    EXPECT_THROW(window->control<PushButton>("StaticText1"), NilObjectException);
    EXPECT_EQ(Window::find<StepWindow>(), window);
}

TEST_F(WindowTest, CancelCloseKeepsTheWindowForEveryKindOfClose) {
    auto* window = new StepWindow;
    window->refuseClose = true;
    steps.clear();
    EXPECT_FALSE(window->Close());
    window->widget()->close(); // the window manager's close box
    EXPECT_EQ(steps, (std::vector<std::string>{"CancelClose", "CancelClose"}));
    EXPECT_TRUE(window->Visible());

    window->refuseClose = false;
    window->widget()->close();
    EXPECT_EQ(steps.back(), "Close");
    EXPECT_TRUE(Window::openWindows().empty());
    EXPECT_EQ(Window::find<StepWindow>(), nullptr);
}

TEST_F(WindowTest, AClosedWindowIsDeletedOnlyAfterTheEventThatClosedItHasEnded) {
    auto* window = new StepWindow;
    Application app;
    auto& ok = window->control<PushButton>("PBOk");
    ok.onAction([&] {
        window->Close();
        app.DoEvents(); // events pumped inside the handler must not delete it
        journal->push_back(window->IsClosed() ? "still here" : "open");
    });
    UiDriver::click(ok);
    app.DoEvents();
    EXPECT_EQ(steps.back(), "deleted");
    EXPECT_EQ(steps[steps.size() - 2], "still here");
}

TEST_F(WindowTest, AWindowClosedWhileItOpensIsNeverShown) {
    auto* window = new SelfClosingWindow;
    EXPECT_TRUE(window->IsClosed());
    EXPECT_FALSE(window->widget()->isVisible());
    EXPECT_TRUE(Window::openWindows().empty());
}

TEST_F(WindowTest, AnExceptionFromAnEventIsReportedAndTheProgramGoesOn) {
    auto* window = new StepWindow;
    window->control<PushButton>("PBOk").onAction([] { throw NilObjectException(); });
    dialogs.expectAnyMsgBox();
    UiDriver::click(window->control<PushButton>("PBOk"));
    ASSERT_EQ(dialogs.msgBoxes().size(), 1u);
    EXPECT_NE(dialogs.msgBoxes()[0].find("NilObjectException"), std::string::npos);
    EXPECT_NE(dialogs.msgBoxes()[0].find("A nil object was used."), std::string::npos);
    EXPECT_FALSE(window->IsClosed());
}

TEST_F(WindowTest, DoEventsDeliversAQueuedClick) {
    auto* window = new StepWindow;
    QWidget* button = window->control<PushButton>("PBOk").widget();
    const QPointF middle(button->width() / 2.0, button->height() / 2.0);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
        QCoreApplication::postEvent(
            button,
            new QMouseEvent(type, middle, button->mapToGlobal(middle), Qt::LeftButton,
                            type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                            Qt::NoModifier));
    steps.clear();
    Application app;
    app.DoEvents(-1);
    EXPECT_EQ(steps, std::vector<std::string>{"Action"});
}

TEST_F(WindowTest, ReturnPressesTheDefaultButtonUnlessItIsDisabled) {
    auto* window = new StepWindow;
    auto& text = window->control<StaticText>("StaticText1");
    steps.clear();
    UiDriver::pressKey(text, Qt::Key_Return);
    window->control<PushButton>("PBOk").setEnabled(false);
    UiDriver::pressKey(text, Qt::Key_Return);
    UiDriver::click(window->control<PushButton>("PBOk"));
    EXPECT_EQ(steps, std::vector<std::string>{"Action"});
}

TEST_F(WindowTest, ProgressBarValueReadsBackEvenPastTheMaximum) {
    auto* window = new StepWindow;
    auto& bar = window->addControl<ProgressBar>("ProgressBar1", 10, 40, 180, 20);
    bar.setMaximum(5);
    bar.setValue(7);
    EXPECT_EQ(bar.Value(), 7);
    EXPECT_EQ(bar.Maximum(), 5);
}

namespace {

class ListWindow : public Window {
  public:
    ListWindow() { construct(); }
    std::vector<int> keys;

  protected:
    void Layout() override { setSize(300, 200); }
    void CreateControls() override {
        auto& list = addControl<Listbox>("LBRows", 10, 10, 280, 180);
        list.setSelectionType(1);
        list.onKeyDown([this, &list](int key) {
            keys.push_back(key);
            if (key != 8 && key != 127)
                return false;
            for (int row = list.ListCount() - 1; row >= 0; --row)
                if (list.Selected(row))
                    list.RemoveRow(row);
            return true;
        });
        for (const char* row : {"zero", "one", "two", "three"})
            list.AddRow(row);
    }
};

} // namespace

TEST_F(WindowTest, LockedControlsFollowTheWindowsEdges) {
    auto* window = new ListWindow;
    auto& list = window->control<Listbox>("LBRows");
    list.setLocks(true, true, true, true);
    auto& add = window->addControl<PushButton>("PBAdd", 200, 170, 80, 20);
    add.setLocks(false, false, true, true);
    window->setSize(400, 260);
    window->content()->resize(400, 260);
    EXPECT_EQ(QRect(list.Left(), list.Top(), list.Width(), list.Height()), QRect(10, 10, 380, 240));
    EXPECT_EQ(QRect(add.Left(), add.Top(), add.Width(), add.Height()), QRect(300, 230, 80, 20));
}

TEST_F(WindowTest, ListboxDeleteKeysRemoveTheSelectedRowsAndLaterRowsMoveUp) {
    auto* window = new ListWindow;
    auto& list = window->control<Listbox>("LBRows");
    list.setSelected(1, true);
    list.setSelected(2, true);
    UiDriver::pressKey(list, Qt::Key_Backspace);
    ASSERT_EQ(list.ListCount(), 2);
    EXPECT_EQ(list.Cell(0), "zero");
    EXPECT_EQ(list.Cell(1), "three");
    EXPECT_EQ(list.ListIndex(), -1);

    list.setListIndex(1);
    UiDriver::pressKey(list, Qt::Key_Delete);
    UiDriver::pressKey(list, Qt::Key_A, "a");
    EXPECT_EQ(window->keys, (std::vector<int>{8, 127, 'a'}));
    ASSERT_EQ(list.ListCount(), 1);
    EXPECT_EQ(list.Cell(0), "zero");
    EXPECT_THROW(list.RemoveRow(1), OutOfBoundsException);
}
