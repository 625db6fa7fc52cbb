#pragma once

#include <functional>
#include <map>
#include <string>

// The menu handlers of the application or of one window, by item Name. A
// handler returns true when it handled the command.
class MenuHandlerTable {
  public:
    void add(const std::string& itemName, std::function<bool()> handler);
    bool has(const std::string& itemName) const;
    // Runs the item's handler; false when there is none or it declined.
    bool run(const std::string& itemName) const;

  private:
    std::map<std::string, std::function<bool()>> handlers_;
};
