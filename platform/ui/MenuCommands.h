#pragma once

#include "MenuBar.h"
#include "MenuHandlerTable.h"
#include "Ref.h"

#include <functional>
#include <string>

// The application's side of the menu commands, and the road every command
// takes: the handlers of the window whose menu bar ran it, then the
// application's; the quit item quits when nobody handled it. The
// application object owns one and registers it while it lives.
class MenuCommands {
  public:
    // quit: how the application quits (every window is asked to close).
    explicit MenuCommands(std::function<void()> quit);
    ~MenuCommands();
    MenuCommands(const MenuCommands&) = delete;
    MenuCommands& operator=(const MenuCommands&) = delete;

    // Its menu bar, the one that windows without their own show; nil
    // without an application.
    static Ref<::MenuBar> applicationMenuBar();

    MenuHandlerTable& handlers() { return handlers_; }
    const MenuHandlerTable& handlers() const { return handlers_; }
    const Ref<::MenuBar>& menuBar() const { return menuBar_; }
    void setMenuBar(const Ref<::MenuBar>& bar) { menuBar_ = bar; }

    // Runs a command from a window's handlers (nullptr: no window is in
    // front) showing bar. closeAllWindows is the quit without an
    // application. False when nothing handled it.
    static bool route(const MenuHandlerTable* windowHandlers, const Ref<::MenuBar>& bar,
                      const std::string& itemName, const std::function<void()>& closeAllWindows);
    // Whether the item is enabled in a window with those handlers: an
    // AutoEnable item while a handler on its road exists (the quit item
    // always has one).
    static bool available(const MenuHandlerTable* windowHandlers, const MenuItem& item);

  private:
    MenuHandlerTable handlers_;
    Ref<::MenuBar> menuBar_;
    std::function<void()> quit_;
};
