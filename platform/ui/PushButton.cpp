#include "PushButton.h"

#include "EventGuard.h"
#include "Text.h"
#include "Window.h"

#include <QPushButton>

PushButton::PushButton(Window& window, const std::string& name)
    : PushButton(window, name, new QPushButton(window.content())) {}

PushButton::PushButton(Window& window, const std::string& name, QPushButton* button)
    : Control(window, name, button), button_(button) {
    // Enter and Escape reach the window, which presses its default or cancel
    // button; the button itself never reacts to them on its own.
    button_->setAutoDefault(false);
    // Tab reaches every button and Space presses it, whatever the desktop's
    // default for buttons.
    button_->setFocusPolicy(Qt::StrongFocus);
    QObject::connect(button_, &QPushButton::clicked, button_,
                     [this] { EventGuard::run([this] { raiseAction(); }); });
}

void PushButton::setCaption(const std::string& caption) {
    button_->setText(QString::fromStdString(ToDisplayText(caption)));
}

void PushButton::setDefault(bool value) {
    default_ = value;
    button_->setDefault(value);
}

void PushButton::Push() {
    if (Enabled())
        raiseAction();
}

void PushButton::raiseAction() {
    if (action_)
        action_();
}

bool PushButton::answerWindowKey(bool isReturn) {
    if (!Enabled() || !Visible() || !(isReturn ? default_ : cancel_))
        return false;
    Push();
    return true;
}
