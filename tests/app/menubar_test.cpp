#include "Application.h"
#include "EditorFixture.h"
#include "MenuBar1.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <gtest/gtest.h>

namespace {

// "text shortcut" per item, "-" per separator, as the window shows them.
std::vector<std::string> shownMenu(const QAction& title) {
    std::vector<std::string> items{title.text().toStdString()};
    for (const QAction* action : title.menu()->actions())
        items.push_back(action->isSeparator()
                            ? "-"
                            : (action->text() + " " + action->shortcut().toString()).toStdString());
    return items;
}

std::vector<std::string> childNames(const MenuItem& menu) {
    std::vector<std::string> names;
    for (int i = 0; i < menu.Count(); ++i)
        names.push_back(menu.Item(i)->Name());
    return names;
}

using MenuBarTest = EditorTest;

TEST_F(MenuBarTest, EditorShowsFileAndEditMenusInOrder) {
    auto* editor = new WindowMXM;
    const QList<QAction*> titles = editor->menuBarWidget()->actions();
    ASSERT_EQ(titles.size(), 2);
    EXPECT_EQ(
        shownMenu(*titles[0]),
        (std::vector<std::string>{"&File", "Open Folder Ctrl+O", "-", "Change Preview Ctrl+I",
                                  "Close Ctrl+W", "-", "Edit Default Locations... Ctrl+L", "-",
                                  "Save Ctrl+S", "Save As Ctrl+Shift+S", "-", "&Quit Ctrl+Q"}));
    EXPECT_EQ(shownMenu(*titles[1]),
              (std::vector<std::string>{"&Edit", "&Copy Ctrl+C", "&Paste Ctrl+V", "-",
                                        "Select All Ctrl+A"}));
}

// The names are the keys by which every handler finds its command.
TEST_F(MenuBarTest, OneSharedBarWithTheItemNames) {
    const Ref<MenuBar1> bar = MenuBar1::instance();
    EXPECT_EQ(MenuBar1::instance(), bar);
    EXPECT_EQ(childNames(*bar), (std::vector<std::string>{"FileMenu", "EditMenu"}));
    EXPECT_EQ(childNames(*bar->Child("FileMenu")),
              (std::vector<std::string>{"FileOpenFolder", "UntitledSeparator1", "FileOpen",
                                        "FileClose", "UntitledSeparator2",
                                        "FileEditDefaultLocations", "UntitledSeparator", "FileSave",
                                        "FileSaveAs", "UntitledSeparator0", "FileQuit"}));
    EXPECT_EQ(
        childNames(*bar->Child("EditMenu")),
        (std::vector<std::string>{"EditCopy", "EditPaste", "UntitledSeparator3", "EditSelectAll"}));
    EXPECT_EQ(bar->FindItem("FileEditDefaultLocations")->KeyboardShortcut(), "Cmd+l");
    EXPECT_TRUE(bar->FindItem("FileQuit")->IsQuitItem());
    auto* editor = new WindowMXM;
    new WindowMXM;
    EXPECT_EQ(editor->MenuBar(), Ref<::MenuBar>(bar));
    EXPECT_EQ(editor->menuBarWidget()->actions()[0]->menu()->actions().size(), 11);
}

TEST_F(MenuBarTest, ItemsAreEnabledWhileTheirHandlersExist) {
    Application application;
    for (const char* name : {"FileOpen", "FileOpenFolder", "FileEditDefaultLocations"})
        application.AddMenuHandler(name, [] { return true; });
    auto* editor = new WindowMXM;
    for (const char* name : {"FileOpenFolder", "FileOpen", "FileClose", "FileEditDefaultLocations",
                             "FileSave", "FileSaveAs", "FileQuit"})
        EXPECT_TRUE(editor->menuAction(name)->isEnabled()) << name;
    for (const char* name : {"EditCopy", "EditPaste", "EditSelectAll"})
        EXPECT_FALSE(editor->menuAction(name)->isEnabled()) << name;
}

} // namespace
