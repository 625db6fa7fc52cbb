#include "AppTest.h"
#include "DefaultLocationsWindow.h"
#include "StartWindow.h"

#include <vector>

namespace {

// Records how many search locations the application holds whenever a
// message is shown, to tell what the start-up had done by then.
struct WatchingDialogs : ScriptedDialogs {
    void showMsgBox(const std::string& text) override {
        locationsAtMessage.push_back(App::instance().DefaultLocations.size());
        ScriptedDialogs::showMsgBox(text);
    }
    std::vector<size_t> locationsAtMessage;
};

// Documents from the command line wait for the Open event, which loads the
// list, and then open in order; those that are no material open nothing.
TEST_F(AppTest, StartupLoadsTheListBeforeTheDocumentsInOrder) {
    volumes.folder().makeFile("prefs/LumitracePaths.pref", "HD:tex\n");
    // A stored preview far too large to be a picture: the reader refuses it.
    const std::string damaged =
        MaterialBytes().marker().string("Bad").uint32(100000).uint32(100000).bytes();
    const std::vector<std::string> documents{volumes.makeFile("HD", "d/leaf.png", "\x89PNG data"),
                                             volumes.makeFile("HD", "d/b.mxm", material("Bravo")),
                                             volumes.makeFile("HD", "d/damaged.mxm", damaged),
                                             volumes.makeFile("HD", "d/empty.mxm"),
                                             volumes.pathOf("HD", "d/missing.mxm"),
                                             volumes.makeFile("HD", "d/a.mxm", material("Alpha"))};
    WatchingDialogs watching;
    watching.expectMsgBox("leaf.png doesn't seem to be an MXM file!").expectAnyMsgBox();
    Startup::end(std::move(app));
    app = Startup::begin(documents);
    EXPECT_EQ(Window::openWindows().size(), 1u);
    app->Start();
    EXPECT_EQ(watching.locationsAtMessage, (std::vector<size_t>{1, 1}));
    std::vector<std::string> titles;
    for (const Window* window : Window::openWindows())
        titles.push_back(window->Title());
    EXPECT_EQ(titles, (std::vector<std::string>{"Lumitrace", "Bravo", "Alpha"}));
}

TEST_F(AppTest, EachStartWindowButtonDoesWhatItsMenuItemDoes) {
    volumes.makeFile("HD", "m/alpha.mxm", material("Alpha"));
    StartWindow& start = StartWindow::instance();
    for (bool viaMenu : {false, true}) {
        SCOPED_TRACE(viaMenu);
        const auto command = [&](const std::string& item, PushButton& button) {
            if (viaMenu)
                EXPECT_TRUE(app->HandleMenuCommand(item));
            else
                UiDriver::click(button);
        };
        const size_t windows = Window::openWindows().size();
        dialogs.answerOpenFile(nullptr).answerOpenFile(volumes.item("HD", "m/alpha.mxm"));
        command("FileOpen", start.PBSingleOpen());
        command("FileOpen", start.PBSingleOpen());
        EXPECT_EQ(Window::openWindows().size(), windows + 1);
        EXPECT_EQ(newest()->Title(), "Alpha");
        EXPECT_EQ(dialogs.shown().back().filter, "Maxwell Material");

        volumes.makeFile("HD", "batch/a.mxm", material("Alpha"));
        Clipboard::setText("before");
        for (const Ref<FolderItem>& folder : {Ref<FolderItem>(), volumes.item("HD", "batch")})
            dialogs
                .expectMsgBox("Attention: The application DOES NOT create backups. NEVER work "
                              "on the original files.")
                .answerSelectFolder(folder);
        command("FileOpenFolder", start.PBOpenFolder());
        EXPECT_EQ(Clipboard::Text(), "before");
        command("FileOpenFolder", start.PBOpenFolder());
        EXPECT_EQ(Clipboard::Text(), okEntry("a.mxm", "Alpha"));

        command("FileEditDefaultLocations", start.PBPrefs());
        EXPECT_EQ(Window::openWindows().size(), windows + 2);
        EXPECT_EQ(&dynamic_cast<DefaultLocationsWindow&>(*newest()).DefaultLocations,
                  &app->DefaultLocations);
    }
}

} // namespace
