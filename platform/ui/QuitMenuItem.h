#pragma once

#include "MenuItem.h"

// The item that quits the application when no handler takes its command:
// every open window is asked to close first.
class QuitMenuItem : public MenuItem {
  public:
    using MenuItem::MenuItem;
    bool IsQuitItem() const override { return true; }
};
