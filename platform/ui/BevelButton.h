#pragma once

#include "PushButton.h"

// A flat, square-edged button; it behaves as a push button.
class BevelButton : public PushButton {
  public:
    BevelButton(Window& window, const std::string& name);
};
