// A window's menu bar and the menu commands it runs.
#include "Window.h"

#include "EventGuard.h"
#include "MenuCommands.h"
#include "WindowMenuBar.h"

#include <QLayout>
#include <QMenuBar>
#include <QWidget>

void Window::setMenuBar(const Ref<::MenuBar>& bar) {
    menuBar_ = bar;
    rebuildMenuBar();
}

Ref<::MenuBar> Window::shownMenuBar() const {
    return menuBar_.isNil() ? MenuCommands::applicationMenuBar() : menuBar_;
}

void Window::rebuildMenuBar() {
    menus_.reset();
    Ref<::MenuBar> bar = shownMenuBar();
    if (!bar.isNil())
        menus_ = std::make_unique<WindowMenuBar>(
            widget_, *bar,
            [this](const std::string& name) {
                EventGuard::run([this, name] { HandleMenuCommand(name); });
            },
            [this] { refreshMenuStates(); });
    widget_->layout()->setMenuBar(menuBarWidget());
    refreshMenuStates();
    applyGeometry();
}

void Window::refreshMenuStates() {
    Ref<::MenuBar> bar = shownMenuBar();
    if (bar.isNil() || !menus_)
        return;
    menus_->refreshStates(*bar, [this](const MenuItem& item) {
        return MenuCommands::available(&menuHandlers_, item);
    });
}

QMenuBar* Window::menuBarWidget() const {
    return menus_ ? menus_->widget() : nullptr;
}

QAction* Window::menuAction(const std::string& itemName) const {
    return menus_ ? menus_->action(itemName) : nullptr;
}

void Window::AddMenuHandler(const std::string& itemName, std::function<bool()> handler) {
    menuHandlers_.add(itemName, std::move(handler));
    refreshMenuStates();
}

bool Window::HandleMenuCommand(const std::string& itemName) {
    return MenuCommands::route(&menuHandlers_, shownMenuBar(), itemName, [] { CloseAll(true); });
}
