#include "ImageTypes.h"
#include "MaterialBytes.h"
#include "MaxwellFiles.h"
#include "MenuBar1.h"
#include "StartWindow.h"
#include "Startup.h"
#include "TestVolumes.h"
#include "UiTest.h"
#include "WindowMXM.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// Records how many search locations the application holds whenever a
// message is shown, to tell what the start-up had done by then.
class WatchingDialogs : public ScriptedDialogs {
  public:
    void showMsgBox(const std::string& text) override {
        locationsAtMessage.push_back(App::instance().DefaultLocations.size());
        ScriptedDialogs::showMsgBox(text);
    }
    std::vector<size_t> locationsAtMessage;
};

class StartupTest : public UiTest {
  protected:
    void TearDown() override {
        Startup::end(std::move(app));
        UiTest::TearDown();
    }

    void begin(const std::vector<std::string>& documents) { app = Startup::begin(documents); }

    std::vector<WindowMXM*> editors() const {
        std::vector<WindowMXM*> found;
        for (Window* window : Window::openWindows())
            if (auto* editor = dynamic_cast<WindowMXM*>(window))
                found.push_back(editor);
        return found;
    }
    static std::string material(const std::string& name) {
        return MaterialBytes().marker().string(name).noPreview().middle().record("x", "").bytes();
    }

    TestVolumes volumes;
    std::unique_ptr<App> app;
};

TEST_F(StartupTest, StartWindowFirstThenTheListThenTheDocumentsInOrder) {
    volumes.makeFolder("HD", "textures");
    volumes.folder().makeFile("prefs/LumitracePaths.pref", "HD:textures\n");
    const std::string picture = volumes.makeFile("HD", "docs/leaf.png", "\x89PNG data");
    const std::string first = volumes.makeFile("HD", "docs/b.mxm", material("Bravo"));
    const std::string second = volumes.makeFile("HD", "docs/a.mxm", material("Alpha"));
    const std::string empty = volumes.makeFile("HD", "docs/empty.mxm");
    WatchingDialogs watching;
    watching.expectMsgBox("leaf.png doesn't seem to be an MXM file!");

    begin({picture, first, empty, second});
    EXPECT_EQ(Window::openWindows().size(), 1u);
    EXPECT_NE(Window::find<StartWindow>(), nullptr);
    EXPECT_TRUE(app->DefaultLocations.empty());

    app->Start();
    EXPECT_EQ(watching.locationsAtMessage, std::vector<size_t>{1});
    const std::vector<WindowMXM*> opened = editors();
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0]->Title(), "Bravo");
    EXPECT_EQ(opened[1]->Title(), "Alpha");
}

TEST_F(StartupTest, UnreadableMaterialClosesItsEditorAfterTheMessage) {
    // A stored preview far too large to be a picture: the reader refuses it.
    const std::string damaged = volumes.makeFile(
        "HD", "docs/damaged.mxm",
        MaterialBytes().marker().string("Bad").uint32(100000).uint32(100000).bytes());
    const std::string missing = volumes.pathOf("HD", "docs/missing.mxm");
    const std::string good = volumes.makeFile("HD", "docs/good.mxm", material("Good"));
    dialogs.expectAnyMsgBox();

    begin({damaged, missing, good});
    app->Start();
    const std::vector<WindowMXM*> opened = editors();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0]->Title(), "Good");
}

TEST_F(StartupTest, BeginSetsUpTheApplicationAndEndReleasesEverything) {
    begin({});
    EXPECT_EQ(app->MenuBar(), Ref<::MenuBar>(MenuBar1::instance()));
    for (const char* item : {"FileOpen", "FileOpenFolder", "FileEditDefaultLocations"})
        EXPECT_TRUE(app->HasMenuHandler(item)) << item;
    EXPECT_EQ(FileTypes::typeOfFileName("a.mxm"), "Maxwell Material");

    Startup::end(std::move(app));
    EXPECT_TRUE(Window::openWindows().empty());
    EXPECT_FALSE(MaxwellFiles::MaxwellMaterial());
    EXPECT_FALSE(ImageTypes::pPNG);
    EXPECT_EQ(Application::instance(), nullptr);
}

} // namespace
