#include "Application.h"
#include "MenuBar.h"
#include "QuitMenuItem.h"
#include "UiTest.h"
#include "Window.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace {

Ref<MenuBar> makeBar() {
    auto bar = makeRef<MenuBar>();
    auto file = makeRef<MenuItem>("FileMenu", "&File");
    bar->Append(file);
    file->Append(makeRef<MenuItem>("FileOpen", "Change Preview", "Cmd+I"));
    file->Append(makeRef<MenuItem>("Separator1", "-"));
    file->Append(makeRef<MenuItem>("FileSave", "Save", "Cmd+S"));
    file->Append(makeRef<MenuItem>("FileSaveAs", "Save As", "Cmd+Shift+S"));
    file->Append(makeRef<QuitMenuItem>("FileQuit", "&Quit", "Cmd+Q"));
    auto edit = makeRef<MenuItem>("EditMenu", "&Edit");
    bar->Append(edit);
    edit->Append(makeRef<MenuItem>("EditCopy", "&Copy", "Cmd+C"));
    return bar;
}

// A window that records the commands it handles and can refuse to close.
class CommandWindow : public Window {
  public:
    explicit CommandWindow(bool handlesSave = true) : handlesSave_(handlesSave) { construct(); }

    bool Event_CancelClose(bool appQuitting) override {
        askedWhileQuitting = appQuitting;
        return refuseClose;
    }

    std::vector<std::string> handled;
    bool refuseClose = false;
    bool askedWhileQuitting = false;

  protected:
    void AddMenuHandlers() override {
        if (!handlesSave_)
            return;
        AddMenuHandler("FileSave", [this] {
            handled.push_back("FileSave");
            return true;
        });
        // Declines, so the application's handler runs.
        AddMenuHandler("FileOpen", [] { return false; });
    }

  private:
    bool handlesSave_;
};

class MenuTest : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        app.setMenuBar(makeBar());
        app.AddMenuHandler("FileOpen", [this] {
            appHandled.push_back("FileOpen");
            return true;
        });
    }

    Application app;
    std::vector<std::string> appHandled;
};

} // namespace

TEST(MenuShortcut, CmdIsCtrlAndLetterCaseDoesNotMatter) {
    EXPECT_EQ(MenuItem::keySequenceOf("Cmd+X"), QKeySequence(Qt::CTRL | Qt::Key_X));
    EXPECT_EQ(MenuItem::keySequenceOf("Cmd+Shift+S"),
              QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    EXPECT_EQ(MenuItem::keySequenceOf("Cmd+l"), QKeySequence(Qt::CTRL | Qt::Key_L));
    EXPECT_EQ(MenuItem::keySequenceOf("Cmd+I"), QKeySequence(Qt::CTRL | Qt::Key_I));
    EXPECT_TRUE(MenuItem::keySequenceOf("").isEmpty());
    EXPECT_TRUE(MenuItem::keySequenceOf("Cmd+").isEmpty());
    EXPECT_TRUE(MenuItem::keySequenceOf("Hyper+K").isEmpty());
}

TEST(MenuTree, ChildFindsDirectChildrenOnlyAndItemsKeepOrder) {
    Ref<MenuBar> bar = makeBar();
    EXPECT_TRUE(bar->Child("FileSave").isNil());
    EXPECT_EQ(bar->FindItem("FileSave")->Text(), "Save");
    Ref<MenuItem> file = bar->Child("FileMenu");
    ASSERT_EQ(file->Count(), 5);
    EXPECT_TRUE(file->Item(1)->IsSeparator());
    EXPECT_TRUE(file->Item(4)->IsQuitItem());
    EXPECT_THROW(file->Item(5), OutOfBoundsException);
    EXPECT_THROW(bar->Child("Missing")->Append(makeRef<MenuItem>()), NilObjectException);
}

TEST_F(MenuTest, EveryWindowShowsTheApplicationsBarInOrder) {
    auto* window = new CommandWindow;
    QMenuBar* shown = window->menuBarWidget();
    ASSERT_NE(shown, nullptr);
    ASSERT_EQ(shown->actions().size(), 2);
    EXPECT_EQ(shown->actions()[0]->text(), "&File");
    QMenu* file = shown->actions()[0]->menu();
    ASSERT_EQ(file->actions().size(), 5);
    EXPECT_EQ(file->actions()[0]->text(), "Change Preview");
    EXPECT_TRUE(file->actions()[1]->isSeparator());
    EXPECT_EQ(file->actions()[3]->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    EXPECT_EQ(window->menuAction("FileQuit")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
}

TEST_F(MenuTest, ItemsAreEnabledWhileAHandlerExists) {
    auto* editor = new CommandWindow;
    auto* plain = new CommandWindow(false);
    EXPECT_TRUE(editor->menuAction("FileSave")->isEnabled());
    EXPECT_FALSE(plain->menuAction("FileSave")->isEnabled());
    EXPECT_TRUE(plain->menuAction("FileOpen")->isEnabled());
    EXPECT_FALSE(plain->menuAction("EditCopy")->isEnabled());
    EXPECT_TRUE(plain->menuAction("FileQuit")->isEnabled());

    app.AddMenuHandler("EditCopy", [] { return true; });
    EXPECT_TRUE(plain->menuAction("EditCopy")->isEnabled());
}

TEST_F(MenuTest, CommandsGoToTheWindowFirstThenTheApplication) {
    auto* window = new CommandWindow;
    window->menuAction("FileSave")->trigger();
    window->menuAction("FileOpen")->trigger();
    EXPECT_EQ(window->handled, std::vector<std::string>{"FileSave"});
    EXPECT_EQ(appHandled, std::vector<std::string>{"FileOpen"});
    EXPECT_FALSE(window->HandleMenuCommand("EditCopy"));
}

TEST_F(MenuTest, ApplicationCommandsReachTheFrontWindow) {
    auto* back = new CommandWindow;
    auto* frontWindow = new CommandWindow;
    frontWindow->Show();
    EXPECT_TRUE(app.HandleMenuCommand("FileSave"));
    EXPECT_TRUE(back->handled.empty());
    EXPECT_EQ(frontWindow->handled.size(), 1u);

    frontWindow->Close();
    EXPECT_TRUE(app.HandleMenuCommand("FileSave"));
    EXPECT_EQ(back->handled.size(), 1u);
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
    EXPECT_EQ(Window::openWindows().size(), 2u);

    refusing->refuseClose = false;
    EXPECT_TRUE(app.Quit());
    EXPECT_TRUE(Window::openWindows().empty());
}
