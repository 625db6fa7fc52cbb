#pragma once

#include "PushButton.h"

// A flat, square-edged button that never takes the keyboard focus; it
// behaves as a push button.
class BevelButton : public PushButton {
  public:
    BevelButton(Window& window, const std::string& name);
};
