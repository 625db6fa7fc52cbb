#include "MenuCommands.h"

namespace {
MenuCommands* registered = nullptr;
}

MenuCommands::MenuCommands(std::function<void()> quit) : quit_(std::move(quit)) {
    registered = this;
}

MenuCommands::~MenuCommands() {
    if (registered == this)
        registered = nullptr;
}

Ref<::MenuBar> MenuCommands::applicationMenuBar() {
    return registered != nullptr ? registered->menuBar() : nullptr;
}

bool MenuCommands::route(const MenuHandlerTable* windowHandlers, const Ref<::MenuBar>& bar,
                         const std::string& itemName,
                         const std::function<void()>& closeAllWindows) {
    if (windowHandlers != nullptr && windowHandlers->run(itemName))
        return true;
    if (registered != nullptr && registered->handlers_.run(itemName))
        return true;
    Ref<MenuItem> item = bar.isNil() ? nullptr : bar->FindItem(itemName);
    if (item.isNil() || !item->IsQuitItem())
        return false;
    if (registered != nullptr)
        registered->quit_();
    else
        closeAllWindows();
    return true;
}

bool MenuCommands::available(const MenuHandlerTable* windowHandlers, const MenuItem& item) {
    if (!item.AutoEnable())
        return item.Enabled();
    return item.IsQuitItem() || (windowHandlers != nullptr && windowHandlers->has(item.Name())) ||
           (registered != nullptr && registered->handlers_.has(item.Name()));
}
