#include "Application.h"
#include "MenuShortcut.h"
#include "PushButton.h"
#include "QuitMenuItem.h"
#include "StaticText.h"
#include "UiDriver.h"
#include "UiTest.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>

namespace {

std::vector<std::string> journal;

// Notes its events in the journal and counts the saves it handles.
class JournalWindow : public Window {
  public:
    JournalWindow() { construct(); }
    bool Event_CancelClose(bool appQuitting) override {
        journal.push_back("CancelClose");
        askedWhileQuitting = appQuitting;
        return refuseClose;
    }
    void Event_Close() override { journal.push_back("Close"); }
    bool refuseClose = false, askedWhileQuitting = false;
    int saves = 0;

  protected:
    void CreateControls() override {
        addControl<PushButton>("PBOk", 10, 80, 80, 20).onAction([] {
            journal.push_back("Action");
        });
    }
    void AddMenuHandlers() override {
        AddMenuHandler("FileSave", [this] { return ++saves > 0; });
        AddMenuHandler("FileOpen", [] { return false; }); // declines: the application's runs
    }
};

class WindowTest : public UiTest {
  protected:
    void SetUp() override {
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
    int appCommands = 0;
    JournalWindow* window = nullptr;
};

} // namespace

// A shortcut form the layer cannot read gives none rather than a wrong one.
TEST(MenuShortcut, UnreadableFormsGiveNone) {
    EXPECT_TRUE(keySequenceOf("Cmd+").isEmpty());
    EXPECT_TRUE(keySequenceOf("Hyper+K").isEmpty());
}

// A command goes to the front window, then the application; an item is
// enabled while a handler on that road exists (the quit item always).
TEST_F(WindowTest, CommandsGoToTheFrontWindowThenTheApplicationAndNeedAHandler) {
    const auto enabled = [this](const char* item) { return window->menuAction(item)->isEnabled(); };
    EXPECT_TRUE(enabled("FileQuit"));
    EXPECT_FALSE(enabled("EditCopy"));
    app.AddMenuHandler("EditCopy", [] { return true; });
    EXPECT_TRUE(enabled("EditCopy"));
    EXPECT_FALSE(app.HandleMenuCommand("Nowhere"));
    auto* front = new JournalWindow;
    front->Show();
    front->menuAction("FileOpen")->trigger();
    EXPECT_EQ(appCommands, 1);
    app.AddMenuHandler("FileSave", [this] { return ++appCommands > 0; });
    EXPECT_TRUE(app.HandleMenuCommand("FileSave"));
    EXPECT_EQ(front->saves, 1);
    EXPECT_EQ(window->saves + appCommands, 1);
    front->Close();
    EXPECT_TRUE(app.HandleMenuCommand("FileSave"));
    EXPECT_EQ(window->saves, 1);
}

// Every kind of close asks the window first and a refusal keeps it; quit
// asks the windows front to back and a refusal stops it.
TEST_F(WindowTest, CloseAndQuitAskTheWindowAndARefusalKeepsIt) {
    auto* front = new JournalWindow;
    front->refuseClose = true;
    EXPECT_FALSE(front->Close());
    front->widget()->close(); // the window manager's close box
    EXPECT_EQ(journal, (std::vector<std::string>{"CancelClose", "CancelClose"}));
    front->menuAction("FileQuit")->trigger();
    EXPECT_TRUE(front->askedWhileQuitting);
    EXPECT_FALSE(front->IsClosed() || window->IsClosed());
    EXPECT_TRUE(front->Visible());
    front->refuseClose = false;
    front->widget()->close();
    EXPECT_EQ(journal.back(), "Close");
    EXPECT_TRUE(app.Quit());
    EXPECT_TRUE(Window::openWindows().empty());
}

TEST_F(WindowTest, DoEventsDeliversAQueuedClick) {
    QWidget* ok = window->control<PushButton>("PBOk").widget();
    const QPointF middle = ok->rect().center();
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
        QCoreApplication::postEvent(ok, new QMouseEvent(type, middle, ok->mapToGlobal(middle),
                                                        Qt::LeftButton, Qt::LeftButton, {}));
    app.DoEvents(-1);
    EXPECT_EQ(journal, std::vector<std::string>{"Action"});
}

// An exception from an event is reported and the program goes on; what went
// wrong with a file is told in its own words alone.
TEST_F(WindowTest, AnExceptionFromAnEventIsReportedAndTheProgramGoesOn) {
    auto& ok = window->control<PushButton>("PBOk");
    ok.onAction([] { throw NilObjectException(); });
    dialogs.expectAnyMsgBox().expectMsgBox("oak.mxm is locked.");
    UiDriver::click(ok);
    EXPECT_NE(dialogs.msgBoxes().at(0).find("NilObjectException"), std::string::npos);
    EXPECT_NE(dialogs.msgBoxes().at(0).find("A nil object was used."), std::string::npos);
    ok.onAction([] { throw FileException("oak.mxm is locked."); });
    UiDriver::click(ok);
    EXPECT_FALSE(window->IsClosed());
}

// A single line too long for its label is shortened in the middle, so both
// ends of a file name show; a text that fits shows whole.
TEST_F(WindowTest, LongSingleLineTextIsShortenedInTheMiddle) {
    auto& info = window->addControl<StaticText>("STInfo", 20, 73, 354, 20);
    const std::string name = "oak_" + std::string(200, 'x') + "_end.mxm";
    info.setText(name);
    const QLabel& label = *static_cast<QLabel*>(info.widget());
    const QString shown = label.text();
    EXPECT_TRUE(shown.startsWith("oak_x") && shown.endsWith("x_end.mxm")) << shown.toStdString();
    EXPECT_LE(label.fontMetrics().horizontalAdvance(shown), 354);
    EXPECT_EQ(info.Text(), name);
    info.setText("short.mxm");
    EXPECT_EQ(label.text(), "short.mxm");
}
