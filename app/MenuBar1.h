#pragma once

#include "MenuBar.h"
#include "Ref.h"

#include <string>

// The program's one menu bar, File and Edit, shared by the application and
// every editor window. It builds the menus only: each command reaches code
// through a handler installed under the item's Name, so the names below are
// the keys of the whole command set.
class MenuBar1 : public MenuBar {
  public:
    MenuBar1();

    // The one shared bar, made and built on the first call.
    static Ref<MenuBar1> instance();
    // Drops the shared bar at the program's end; a later instance() builds
    // a new one.
    static void Release();

    // Builds the File menu.
    void Untitled0();
    // Builds the Edit menu.
    void Untitled1();

  private:
    void appendMenu(const std::string& name, const std::string& text);
    void appendItem(const std::string& menuName, const Ref<MenuItem>& item, const std::string& name,
                    const std::string& text, const std::string& shortcut);
    // A separator gets no shortcut at all, unlike the empty one of a title.
    void appendSeparator(const std::string& menuName, const std::string& name);
};
