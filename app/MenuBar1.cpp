#include "MenuBar1.h"

#include "QuitMenuItem.h"

namespace {
Ref<MenuBar1> implicitInstance;
}

MenuBar1::MenuBar1() {
    Untitled0();
    Untitled1();
}

Ref<MenuBar1> MenuBar1::instance() {
    if (!implicitInstance)
        implicitInstance = makeRef<MenuBar1>();
    return implicitInstance;
}

void MenuBar1::Release() {
    implicitInstance = nullptr;
}

void MenuBar1::Untitled0() {
    const std::string menu = "FileMenu";
    appendMenu(menu, "&File");
    appendItem(menu, makeRef<MenuItem>(), "FileOpenFolder", "Open Folder", "Cmd+O");
    appendSeparator(menu, "UntitledSeparator1");
    appendItem(menu, makeRef<MenuItem>(), "FileOpen", "Change Preview", "Cmd+I");
    appendItem(menu, makeRef<MenuItem>(), "FileClose", "Close", "Cmd+W");
    appendSeparator(menu, "UntitledSeparator2");
    appendItem(menu, makeRef<MenuItem>(), "FileEditDefaultLocations", "Edit Default Locations...",
               "Cmd+l");
    appendSeparator(menu, "UntitledSeparator");
    appendItem(menu, makeRef<MenuItem>(), "FileSave", "Save", "Cmd+S");
    appendItem(menu, makeRef<MenuItem>(), "FileSaveAs", "Save As", "Cmd+Shift+S");
    appendSeparator(menu, "UntitledSeparator0");
    appendItem(menu, makeRef<QuitMenuItem>(), "FileQuit", "&Quit", "Cmd+Q");
}

void MenuBar1::Untitled1() {
    const std::string menu = "EditMenu";
    appendMenu(menu, "&Edit");
    appendItem(menu, makeRef<MenuItem>(), "EditCopy", "&Copy", "Cmd+C");
    appendItem(menu, makeRef<MenuItem>(), "EditPaste", "&Paste", "Cmd+V");
    appendSeparator(menu, "UntitledSeparator3");
    appendItem(menu, makeRef<MenuItem>(), "EditSelectAll", "Select All", "Cmd+A");
}

void MenuBar1::appendMenu(const std::string& name, const std::string& text) {
    auto title = makeRef<MenuItem>();
    title->setName(name);
    title->setAutoEnable(true);
    title->setText(text);
    title->setKeyboardShortcut("");
    Append(title);
}

void MenuBar1::appendItem(const std::string& menuName, const Ref<MenuItem>& item,
                          const std::string& name, const std::string& text,
                          const std::string& shortcut) {
    item->setName(name);
    item->setAutoEnable(true);
    item->setText(text);
    item->setKeyboardShortcut(shortcut);
    Child(menuName)->Append(item);
}

void MenuBar1::appendSeparator(const std::string& menuName, const std::string& name) {
    auto separator = makeRef<MenuItem>();
    separator->setName(name);
    separator->setAutoEnable(true);
    separator->setText("-");
    Child(menuName)->Append(separator);
}
