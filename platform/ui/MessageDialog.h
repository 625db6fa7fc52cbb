#pragma once

#include "MessageDialogContent.h"

class Window;

// A modal question with up to three buttons. Only the action button is
// visible until the caller shows the others.
class MessageDialog : public MessageDialogContent {
  public:
    // Shows the dialog as a question that belongs to the window, modal and
    // over it, and returns the button pressed, one of the three members
    // above; nullptr when none was pressed.
    MessageDialogButton* ShowModalWithin(const Window& parent);
};
