#include "AppWindowFixture.h"
#include "DefaultLocationsWindow.h"
#include "UiDriver.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class LocationsWindowTest : public AppWindowTest {
  protected:
    // Four folders in the list: HD:f0 to HD:f3.
    void fillList(int count = 4) {
        for (int i = 0; i < count; ++i)
            app->DefaultLocations.push_back(folder("f" + std::to_string(i)));
    }
    Ref<FolderItem> folder(const std::string& name) const {
        volumes.makeFolder("HD", name);
        return volumes.item("HD", name);
    }
    DefaultLocationsWindow* openEditor() const {
        return new DefaultLocationsWindow(app->DefaultLocations);
    }

    static std::vector<std::string> rows(const DefaultLocationsWindow& editor) {
        std::vector<std::string> texts;
        for (int row = 0; row < editor.LBFolderitems().ListCount(); ++row)
            texts.push_back(editor.LBFolderitems().Cell(row));
        return texts;
    }
    std::vector<std::string> entries() const {
        std::vector<std::string> paths;
        for (const Ref<FolderItem>& location : app->DefaultLocations)
            paths.push_back(location->AbsolutePath());
        return paths;
    }
    static void select(DefaultLocationsWindow& editor, const std::vector<int>& selected) {
        for (int row : selected)
            editor.LBFolderitems().setSelected(row, true);
    }
    static void pressDelete(DefaultLocationsWindow& editor, int qtKey = Qt::Key_Delete) {
        UiDriver::pressKey(editor.LBFolderitems(), qtKey);
    }
    std::string preferencesText() const {
        return volumes.folder().readFile("prefs/LumitracePaths.pref");
    }
};

TEST_F(LocationsWindowTest, DeletingRowsOneAndTwoOfFourKeepsTheOthersInOrder) {
    fillList();
    DefaultLocationsWindow* editor = openEditor();
    EXPECT_EQ(&editor->DefaultLocations, &app->DefaultLocations);
    pressDelete(*editor); // nothing selected: nothing goes
    EXPECT_EQ(rows(*editor), entries());
    EXPECT_EQ(entries().size(), 4u);
    select(*editor, {1, 2});
    pressDelete(*editor);
    const std::vector<std::string> left{"HD:f0", "HD:f3"};
    EXPECT_EQ(rows(*editor), left);
    EXPECT_EQ(entries(), left);
}

TEST_F(LocationsWindowTest, DeletingEveryRowEmptiesTheList) {
    fillList();
    DefaultLocationsWindow* editor = openEditor();
    select(*editor, {0, 1, 2, 3});
    pressDelete(*editor);
    EXPECT_TRUE(rows(*editor).empty());
    EXPECT_TRUE(app->DefaultLocations.empty());
}

TEST_F(LocationsWindowTest, BackspaceAndDeleteRemoveTheSameRow) {
    for (int key : {Qt::Key_Backspace, Qt::Key_Delete}) {
        app->ResetDefaultLocations();
        fillList(3);
        DefaultLocationsWindow* editor = openEditor();
        select(*editor, {1});
        pressDelete(*editor, key);
        const std::vector<std::string> left{"HD:f0", "HD:f2"};
        EXPECT_EQ(rows(*editor), left) << key;
        EXPECT_EQ(entries(), left) << key;
        editor->Close();
    }
}

TEST_F(LocationsWindowTest, PlusAddsTheChosenFolderEvenTwiceAndCancelAddsNothing) {
    const Ref<FolderItem> chosen = folder("chosen");
    dialogs.answerSelectFolder(nullptr).answerSelectFolder(chosen).answerSelectFolder(chosen);
    DefaultLocationsWindow* editor = openEditor();
    UiDriver::click(editor->PBAdd());
    EXPECT_TRUE(app->DefaultLocations.empty());
    UiDriver::click(editor->PBAdd());
    UiDriver::click(editor->PBAdd());
    const std::vector<std::string> twice{"HD:chosen", "HD:chosen"};
    EXPECT_EQ(rows(*editor), twice);
    EXPECT_EQ(entries(), twice);
}

TEST_F(LocationsWindowTest, ClosingSavesTheWholeListChangedOrNot) {
    DefaultLocationsWindow* editor = openEditor();
    editor->Close();
    EXPECT_TRUE(volumes.folder().item("prefs/LumitracePaths.pref")->Exists());
    EXPECT_EQ(preferencesText(), "");

    fillList(3);
    editor = openEditor();
    EXPECT_EQ(preferencesText(), "");
    select(*editor, {0});
    pressDelete(*editor);
    editor->widget()->close(); // the close box
    EXPECT_EQ(preferencesText(), "HD:f1\nHD:f2\n");
}

TEST_F(LocationsWindowTest, EditorsOpenAtOnceStayInStepWithTheList) {
    fillList(3);
    DefaultLocationsWindow* first = openEditor();
    DefaultLocationsWindow* second = openEditor();
    select(*first, {0});
    pressDelete(*first);
    dialogs.answerSelectFolder(folder("added"));
    UiDriver::click(second->PBAdd());

    const std::vector<std::string> list{"HD:f1", "HD:f2", "HD:added"};
    EXPECT_EQ(entries(), list);
    EXPECT_EQ(rows(*first), list);
    EXPECT_EQ(rows(*second), list);

    // A closed editor is no longer kept in step.
    first->Close();
    select(*second, {2});
    pressDelete(*second);
    EXPECT_EQ(rows(*second), (std::vector<std::string>{"HD:f1", "HD:f2"}));
    EXPECT_EQ(first->LBFolderitems().ListCount(), 3);
}

} // namespace
