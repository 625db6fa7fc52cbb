#include "BevelButton.h"

#include "Window.h"

#include <QPushButton>

BevelButton::BevelButton(Window& window, const std::string& name)
    : PushButton(window, name, new QPushButton(window.content())) {
    auto* button = static_cast<QPushButton*>(widget());
    // A style sheet draws no focus frame of its own: the focused button's
    // border shows it.
    button->setStyleSheet("QPushButton { border: 1px solid #303030; border-radius: 0px;"
                          " background: #d8d8d8; padding: 2px; }"
                          " QPushButton:focus { border: 2px solid #3875d7; padding: 1px; }"
                          " QPushButton:pressed { background: #a8a8a8; }"
                          " QPushButton:disabled { color: #909090; background: #c0c0c0; }");
}
