#include "Application.h"
#include "QuitMenuItem.h"
#include "UiTest.h"
#include "Window.h"

#include <QAction>
#include <QCoreApplication>
#include <QTimer>

namespace {

class RecordingApp : public Application {
  public:
    void Event_Open() override {
        events.push_back("Open");
        if (failOpen)
            throw DamagedFileException("no list");
    }
    void Event_OpenDocument(const Ref<FolderItem>& item) override {
        events.push_back(item->Name());
    }

    std::vector<std::string> events;
    bool failOpen = false;
};

class PlainWindow : public Window {
  public:
    PlainWindow() { construct(); }
    bool Event_CancelClose(bool) override { return refuseClose; }
    bool refuseClose = false;
};

using ApplicationTest = UiTest;

Ref<FolderItem> file(const std::string& name) {
    return makeRef<FolderItem>("/tmp/" + name);
}

} // namespace

TEST_F(ApplicationTest, DocumentsGivenBeforeOpenWaitAndFollowItInOrder) {
    RecordingApp app;
    app.OpenDocument(file("a.mxm"));
    app.OpenDocument(file("b.mxm"));
    EXPECT_TRUE(app.events.empty());
    app.Start();
    app.Start();
    app.OpenDocument(file("c.mxm"));
    EXPECT_EQ(app.events, (std::vector<std::string>{"Open", "a.mxm", "b.mxm", "c.mxm"}));
    EXPECT_EQ(Application::instance(), &app);
}

TEST_F(ApplicationTest, AnExceptionInOpenIsReportedAndTheDocumentsStillArrive) {
    RecordingApp app;
    app.failOpen = true;
    app.OpenDocument(file("a.mxm"));
    dialogs.expectAnyMsgBox();
    app.Start();
    EXPECT_EQ(app.events, (std::vector<std::string>{"Open", "a.mxm"}));
    ASSERT_EQ(dialogs.msgBoxes().size(), 1u);
    EXPECT_NE(dialogs.msgBoxes()[0].find("DamagedFileException"), std::string::npos);
}

TEST_F(ApplicationTest, TheEventLoopOutlivesARefusedQuitAndEndsWithTheLastWindow) {
    RecordingApp app;
    auto bar = makeRef<MenuBar>();
    auto fileMenu = makeRef<MenuItem>("FileMenu", "&File");
    fileMenu->Append(makeRef<QuitMenuItem>("FileQuit", "&Quit", "Cmd+Q"));
    bar->Append(fileMenu);
    app.setMenuBar(bar);
    auto* window = new PlainWindow;
    window->refuseClose = true;
    bool quitRefused = false;
    QTimer::singleShot(0, [&] {
        window->menuAction("FileQuit")->trigger();
        quitRefused = !window->IsClosed();
        window->refuseClose = false;
        QTimer::singleShot(0, [&] { window->menuAction("FileQuit")->trigger(); });
    });
    // Ends a run that failed to end, so a fault shows as a failure, not a hang.
    bool watchdogFired = false;
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        watchdogFired = true;
        QCoreApplication::quit();
    });
    watchdog.start(10000);
    EXPECT_EQ(app.Run(), 0);
    EXPECT_TRUE(quitRefused);
    EXPECT_FALSE(watchdogFired);
    EXPECT_EQ(app.events, std::vector<std::string>{"Open"});
    EXPECT_TRUE(Window::openWindows().empty());
}
