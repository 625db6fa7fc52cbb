#include "MenuHandlerTable.h"

void MenuHandlerTable::add(const std::string& itemName, std::function<bool()> handler) {
    handlers_[itemName] = std::move(handler);
}

bool MenuHandlerTable::has(const std::string& itemName) const {
    return handlers_.count(itemName) != 0;
}

bool MenuHandlerTable::run(const std::string& itemName) const {
    auto handler = handlers_.find(itemName);
    if (handler == handlers_.end())
        return false;
    // A copy: the handler may replace itself while it runs, or close the
    // window whose table this is (which keeps its table until it is deleted).
    std::function<bool()> code = handler->second;
    return code();
}
