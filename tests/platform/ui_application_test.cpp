#include "Application.h"
#include "QuitMenuItem.h"
#include "UiTest.h"
#include "Window.h"

#include <QAction>

namespace {

// Handles "FileSave" itself, declines "FileOpen", and can refuse to close.
class CommandWindow : public Window {
  public:
    CommandWindow() { construct(); }
    bool Event_CancelClose(bool appQuitting) override {
        askedWhileQuitting = appQuitting;
        return refuseClose;
    }
    int saves = 0;
    bool refuseClose = false, askedWhileQuitting = false;

  protected:
    void AddMenuHandlers() override {
        AddMenuHandler("FileSave", [this] { return ++saves > 0; });
        AddMenuHandler("FileOpen", [] { return false; });
    }
};

class MenuTest : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        auto bar = makeRef<MenuBar>();
        auto file = makeRef<MenuItem>("FileMenu", "&File");
        bar->Append(file);
        for (const char* name : {"FileOpen", "FileSave", "EditCopy"})
            file->Append(makeRef<MenuItem>(name, name));
        file->Append(makeRef<QuitMenuItem>("FileQuit", "&Quit", "Cmd+Q"));
        app.setMenuBar(bar);
        app.AddMenuHandler("FileOpen", [this] { return ++appOpens > 0; });
    }

    Application app;
    int appOpens = 0;
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

TEST_F(MenuTest, CommandsGoToTheFrontWindowThenTheApplicationAndNeedAHandler) {
    auto* back = new CommandWindow;
    auto* front = new CommandWindow;
    front->Show();
    EXPECT_FALSE(front->menuAction("EditCopy")->isEnabled());
    EXPECT_TRUE(front->menuAction("FileQuit")->isEnabled());
    front->menuAction("FileOpen")->trigger();
    EXPECT_EQ(appOpens, 1);
    EXPECT_TRUE(app.HandleMenuCommand("FileSave"));
    EXPECT_EQ(front->saves, 1);
    EXPECT_EQ(back->saves, 0);
    front->Close();
    EXPECT_TRUE(app.HandleMenuCommand("FileSave"));
    EXPECT_EQ(back->saves, 1);
    app.AddMenuHandler("EditCopy", [] { return true; });
    EXPECT_TRUE(back->menuAction("EditCopy")->isEnabled());
}

TEST_F(MenuTest, QuitAsksEveryWindowAndAnyRefusalStopsIt) {
    auto* first = new CommandWindow;
    auto* refusing = new CommandWindow;
    auto* last = new CommandWindow;
    refusing->refuseClose = true;
    refusing->menuAction("FileQuit")->trigger();
    EXPECT_TRUE(last->IsClosed());
    EXPECT_TRUE(refusing->askedWhileQuitting);
    EXPECT_FALSE(refusing->IsClosed());
    EXPECT_FALSE(first->IsClosed());
    refusing->refuseClose = false;
    EXPECT_TRUE(app.Quit());
    EXPECT_TRUE(Window::openWindows().empty());
}
