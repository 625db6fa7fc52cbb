#include "App.h"
#include "MaxwellHelper.h"
#include "ScriptedDialogs.h"
#include "TestVolumes.h"
#include "Text.h"
#include "Volumes.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class AppLocationsTest : public ::testing::Test {
  protected:
    std::string preferencesText() const {
        return volumes.folder().readFile("prefs/LumitracePaths.pref");
    }
    void writePreferences(const std::string& text) const {
        volumes.folder().makeFile("prefs/LumitracePaths.pref", text);
    }
    static std::vector<std::string> nativePaths(const std::vector<Ref<FolderItem>>& items) {
        std::vector<std::string> paths;
        for (const Ref<FolderItem>& item : items)
            paths.push_back(item->NativePath());
        return paths;
    }

    TestVolumes volumes;
    ScriptedDialogs dialogs; // nothing here may show a message
};

TEST_F(AppLocationsTest, OneApplicationObjectWithOneList) {
    EXPECT_THROW(App::instance(), NilObjectException);
    App app;
    EXPECT_EQ(&App::instance(), &app);
    EXPECT_EQ(&App::instance().DefaultLocations, &app.DefaultLocations);
    EXPECT_TRUE(app.DefaultLocations.empty());
    app.LoadDefaultLocations(); // no preferences file yet
    EXPECT_TRUE(app.DefaultLocations.empty());
}

TEST_F(AppLocationsTest, LoadDropsWhatNoLongerExistsAndSaveForgetsIt) {
    volumes.makeFolder("HD", "a");
    volumes.makeFile("HD", "notes.txt");
    volumes.makeFolder("Data", "b");
    writePreferences("HD:a\nHD:gone\nHD:notes.txt\nData:b\nNowhere:c\n");
    App app;
    app.LoadDefaultLocations();
    EXPECT_EQ(
        nativePaths(app.DefaultLocations),
        (std::vector<std::string>{volumes.pathOf("HD", "a"), volumes.pathOf("HD", "notes.txt"),
                                  volumes.pathOf("Data", "b")}));
    EXPECT_TRUE(app.SaveDefaultLocations());
    EXPECT_EQ(preferencesText(), "HD:a\nHD:notes.txt\nData:b\n");
    app.ResetDefaultLocations();
    EXPECT_TRUE(app.SaveDefaultLocations());
    EXPECT_EQ(preferencesText(), "");
}

TEST_F(AppLocationsTest, SavedListReadsBackWhateverTheNames) {
    App app;
    for (const std::string name : {"new\nline", "cr\r", "100%41", "caf\xE9", "caf\xC3\xA9",
                                   "\xD0\xB6", "a:b", "tab\there", "half\xC3"}) {
        volumes.makeFolder("Data", name);
        app.AddDefaultLocationForSearch(volumes.item("Data", name));
    }
    app.AddDefaultLocationForSearch(volumes.item("Data", "a:b")); // twice: kept twice
    ASSERT_TRUE(app.SaveDefaultLocations());
    const std::string text = preferencesText();
    EXPECT_TRUE(IsValidUtf8(text));
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 10);

    App reloaded;
    reloaded.LoadDefaultLocations();
    EXPECT_EQ(nativePaths(reloaded.DefaultLocations), nativePaths(app.DefaultLocations));
}

TEST_F(AppLocationsTest, MissingPreferencesFolderIsLikeAMissingFile) {
    Volumes::setPreferencesRoot(volumes.folder().makeFile("blocker") + "/prefs");
    App app;
    app.AddDefaultLocationForSearch(volumes.item("HD", ""));
    app.LoadDefaultLocations();
    EXPECT_EQ(app.DefaultLocations.size(), 1u);
    EXPECT_FALSE(app.SaveDefaultLocations());
}

TEST_F(AppLocationsTest, FileSearchReadsTheApplicationsList) {
    volumes.makeFile("Data", "tex/a.ior");
    volumes.makeFolder("HD", "mat");
    {
        App app;
        app.AddDefaultLocationForSearch(volumes.item("Data", "tex"));
        const Ref<FolderItem> found =
            MaxwellHelper::findFile("a.ior", volumes.item("HD", "mat"), true);
        ASSERT_TRUE(found);
        EXPECT_EQ(found->NativePath(), volumes.pathOf("Data", "tex/a.ior"));
    }
    EXPECT_FALSE(MaxwellHelper::findFile("a.ior", volumes.item("HD", "mat"), true));
}

} // namespace
