#include "AppWindowFixture.h"
#include "Clipboard.h"
#include "DefaultLocationsWindow.h"
#include "MenuBar1.h"
#include "ProgressWindow.h"
#include "StartWindow.h"
#include "UiDriver.h"
#include "WindowMXM.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

const std::string backupWarning =
    "Attention: The application DOES NOT create backups. NEVER work on the original files.";

// Each command is run once through its start-window button and once
// through its menu item; both roads must lead to the same behaviour.
class StartWindowCommandTest : public AppWindowTest, public ::testing::WithParamInterface<bool> {
  protected:
    void SetUp() override {
        AppWindowTest::SetUp();
        app->setMenuBar(MenuBar1::instance());
        app->AddMenuHandlers();
        start = &StartWindow::instance();
        app->Start(); // as the event loop would: documents opened from now on are not queued
    }

    // The command of the menu item, by the road of this run.
    void command(const std::string& menuItem) {
        if (!viaMenu()) {
            static const std::map<std::string, std::string> buttons{
                {"FileOpen", "PBSingleOpen"},
                {"FileOpenFolder", "PBOpenFolder"},
                {"FileEditDefaultLocations", "PBPrefs"}};
            UiDriver::click(start->control<PushButton>(buttons.at(menuItem)));
        } else {
            EXPECT_TRUE(app->HandleMenuCommand(menuItem)) << menuItem;
        }
    }
    static bool viaMenu() { return GetParam(); }

    StartWindow* start = nullptr;
};

TEST_P(StartWindowCommandTest, OpenChoosesAMaterialAndOpensItInAnEditor) {
    volumes.makeFile("HD", "m/alpha.mxm", material("Alpha"));
    dialogs.answerOpenFile(nullptr).answerOpenFile(volumes.item("HD", "m/alpha.mxm"));

    command("FileOpen");
    EXPECT_EQ(openCount<WindowMXM>(), 0);
    command("FileOpen");
    ASSERT_EQ(openCount<WindowMXM>(), 1);
    EXPECT_EQ(Window::find<WindowMXM>()->Title(), "Alpha");
    EXPECT_EQ(dialogs.shown().at(0).filter, "Maxwell Material");
    EXPECT_FALSE(start->IsClosed());
}

TEST_P(StartWindowCommandTest, OpenFolderWarnsThenRunsTheBatchOnTheChosenFolder) {
    volumes.makeFile("HD", "tex/a.jpg");
    volumes.makeFile("HD", "tex/b.jpg");
    volumes.makeFile("HD", "batch/a.mxm", material("Alpha"));
    Clipboard::setText("before");
    dialogs.expectMsgBox(backupWarning).answerSelectFolder(nullptr);
    dialogs.expectMsgBox(backupWarning).answerSelectFolder(volumes.item("HD", "batch"));

    command("FileOpenFolder");
    EXPECT_EQ(Clipboard::Text(), "before");
    command("FileOpenFolder");
    EXPECT_EQ(Clipboard::Text(),
              "a.mxm  ::   Alpha: [ /tex/a.jpg- o.k. ] \r[ /tex/b.jpg- o.k. ] \rStatus 0 ***");
    EXPECT_EQ(openCount<ProgressWindow>(), 0);
}

TEST_P(StartWindowCommandTest, EditDefaultLocationsOpensAFurtherEditorEachTime) {
    command("FileEditDefaultLocations");
    command("FileEditDefaultLocations");
    EXPECT_EQ(openCount<DefaultLocationsWindow>(), 2);
    EXPECT_EQ(&Window::find<DefaultLocationsWindow>()->DefaultLocations, &app->DefaultLocations);
}

INSTANTIATE_TEST_SUITE_P(ButtonAndMenu, StartWindowCommandTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Menu" : "Button"; });

} // namespace
