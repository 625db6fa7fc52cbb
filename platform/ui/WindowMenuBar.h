#pragma once

#include "MenuBar.h"

#include <QPointer>

#include <functional>
#include <map>
#include <string>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

// The menu bar one window shows: Qt's menus built from a MenuBar tree, with
// an action for each item, found by the item's Name.
class WindowMenuBar {
  public:
    // runCommand gets the Name of a chosen item; aboutToShow is called
    // before a menu opens, so its enabled states can be brought up to date.
    WindowMenuBar(QWidget* window, const ::MenuBar& bar,
                  std::function<void(const std::string&)> runCommand,
                  std::function<void()> aboutToShow);
    // The bar goes from the event loop: its command may be running now.
    ~WindowMenuBar();
    WindowMenuBar(const WindowMenuBar&) = delete;
    WindowMenuBar& operator=(const WindowMenuBar&) = delete;

    QMenuBar* widget() const { return qtMenuBar_; }
    // The action of the item of that Name; nullptr when none.
    QAction* action(const std::string& itemName) const;
    // Enables each command of bar that is available; menu titles stay.
    void refreshStates(const ::MenuBar& bar, const std::function<bool(const MenuItem&)>& available);

  private:
    void addItems(QMenu& menu, const MenuItem& parent);
    void addCommand(QMenu& menu, const MenuItem& item);

    QPointer<QMenuBar> qtMenuBar_;
    std::map<std::string, QAction*> actions_;
    std::function<void(const std::string&)> runCommand_;
};
