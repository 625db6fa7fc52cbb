#pragma once

#include "Control.h"

#include <functional>
#include <string>

class QPushButton;

// A push button; a click raises its Action event.
class PushButton : public Control {
  public:
    PushButton(Window& window, const std::string& name);

    void setCaption(const std::string& caption);
    // The window's default button (Return) and cancel button (Escape).
    bool Default() const { return default_; }
    void setDefault(bool value);
    bool Cancel() const { return cancel_; }
    void setCancel(bool value) { cancel_ = value; }

    void onAction(std::function<void()> handler) { action_ = std::move(handler); }
    // Presses the button as a click does: nothing while it is disabled.
    void Push();
    // The default button presses for Return, the cancel button for Escape,
    // while it is enabled and visible.
    bool answerWindowKey(bool isReturn) override;

  protected:
    PushButton(Window& window, const std::string& name, QPushButton* button);

  private:
    void raiseAction();

    QPushButton* button_;
    std::function<void()> action_;
    bool default_ = false;
    bool cancel_ = false;
};
