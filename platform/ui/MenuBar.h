#pragma once

#include "MenuItem.h"

// A menu bar: a MenuItem whose children are the menus, shown in order.
// One bar may be shared by the application and any number of windows; each
// top-level window shows it in a menu bar of its own.
class MenuBar : public MenuItem {
  public:
    using MenuItem::MenuItem;
};
