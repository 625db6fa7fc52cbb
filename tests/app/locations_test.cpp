#include "AppTest.h"
#include "DefaultLocationsWindow.h"
#include "Text.h"
#include "Volumes.h"

#include <QWidget>

#include <filesystem>

namespace {

class LocationsTest : public AppTest {
  protected:
    // An editor on the list, after the folders HD:name are added to it.
    DefaultLocationsWindow* editList(std::initializer_list<const char*> names) {
        for (const char* name : names)
            app->AddDefaultLocationForSearch(folder(name));
        return new DefaultLocationsWindow(app->DefaultLocations);
    }
    Ref<FolderItem> folder(const std::string& name) const {
        volumes.makeFolder("HD", name);
        return volumes.item("HD", name);
    }
    static void deleteRows(DefaultLocationsWindow& editor, const std::vector<int>& rows,
                           int key = Qt::Key_Delete) {
        for (int row : rows)
            editor.LBFolderitems().setSelected(row, true);
        UiDriver::pressKey(editor.LBFolderitems(), key);
    }
    // The editor's rows, which must name the list's entries one by one.
    std::vector<std::string> rows(const DefaultLocationsWindow& editor) const {
        std::vector<std::string> texts;
        for (int row = 0; row < editor.LBFolderitems().ListCount(); ++row)
            texts.push_back(editor.LBFolderitems().Cell(row));
        EXPECT_EQ(texts, entries());
        return texts;
    }
    std::vector<std::string> entries() const {
        std::vector<std::string> paths;
        for (const Ref<FolderItem>& location : app->DefaultLocations)
            paths.push_back(location->AbsolutePath());
        return paths;
    }
    std::string preferencesText() const {
        return volumes.folder().readFile("prefs/LumitracePaths.pref");
    }
};

// Delete (key code 127) and Backspace (8) alike remove the selected rows.
TEST_F(LocationsTest, DeleteKeysRemoveTheSelectedRows) {
    DefaultLocationsWindow* editor = editList({"f0", "f1", "f2", "f3"});
    deleteRows(*editor, {1, 2});
    EXPECT_EQ(rows(*editor), (std::vector<std::string>{"HD:f0", "HD:f3"}));
    editor->Close();
    editor = editList({"f1", "f2"});
    deleteRows(*editor, {0, 1, 2, 3}, Qt::Key_Backspace);
    EXPECT_TRUE(rows(*editor).empty());
}

// "+" adds the chosen folder, twice when chosen twice; each editor shows
// every change, and saves the whole list when it closes.
TEST_F(LocationsTest, EditorsStayInStepAndSaveTheListWhenTheyClose) {
    DefaultLocationsWindow* first = editList({"f0", "f1"});
    auto* second = new DefaultLocationsWindow(app->DefaultLocations);
    deleteRows(*first, {0});
    dialogs.answerSelectFolder(nullptr)
        .answerSelectFolder(folder("g"))
        .answerSelectFolder(folder("g"));
    for (int i = 0; i < 3; ++i)
        UiDriver::click(second->PBAdd());
    EXPECT_EQ(rows(*first), (std::vector<std::string>{"HD:f1", "HD:g", "HD:g"}));
    EXPECT_EQ(rows(*second), rows(*first));
    EXPECT_FALSE(volumes.folder().item("prefs/LumitracePaths.pref")->Exists());

    first->Close();
    EXPECT_EQ(preferencesText(), "HD:f1\nHD:g\nHD:g\n");
    UiDriver::deleteClosedWindows(); // a gone editor is no longer kept in step
    deleteRows(*second, {1, 2});
    second->widget()->close(); // the close box
    EXPECT_EQ(preferencesText(), "HD:f1\n");
}

// What no longer exists is dropped at load (and so forgotten at the next
// save); a preferences folder that cannot be made is like a missing file.
TEST_F(LocationsTest, ListReadsBackWhateverTheNamesLessWhatHasGone) {
    for (const std::string name : {"gone", "new\nline", "cr\r", "100%41", "caf\xE9", "caf\xC3\xA9",
                                   "\xD0\xB6", "a:b", "tab\there", "half\xC3", "a:b"}) {
        volumes.makeFolder("Data", name);
        app->AddDefaultLocationForSearch(volumes.item("Data", name));
    }
    std::vector<std::string> saved = entries();
    ASSERT_TRUE(app->SaveDefaultLocations());
    EXPECT_TRUE(IsValidUtf8(preferencesText()));
    volumes.folder().makeFile("prefs/LumitracePaths.pref", preferencesText() + "Nowhere:c\n");
    std::filesystem::remove(volumes.pathOf("Data", "gone"));
    app->ResetDefaultLocations();
    app->LoadDefaultLocations();
    saved.erase(saved.begin());
    EXPECT_EQ(entries(), saved);

    Volumes::setPreferencesRoot(volumes.folder().makeFile("blocker") + "/prefs");
    app->LoadDefaultLocations();
    EXPECT_EQ(entries(), saved);
    EXPECT_FALSE(app->SaveDefaultLocations());
}

} // namespace
