#pragma once

#include "MessageDialogButton.h"

#include <string>

class Window;

// A modal question with up to three buttons. Only the action button is
// visible until the caller shows the others.
class MessageDialog {
  public:
    MessageDialog();

    // 0 note, 1 caution, 2 stop, 3 question; other values show no icon.
    int Icon = 0;
    std::string Message;
    std::string Explanation;
    MessageDialogButton ActionButton;          // "OK", visible
    MessageDialogButton CancelButton;          // "Cancel"
    MessageDialogButton AlternateActionButton; // "Don't Save"

    // Shows the dialog application-modal and returns the button pressed,
    // one of the three members above; nullptr when none was pressed.
    MessageDialogButton* ShowModal();
    // The same, as a question that belongs to the window: shown over it.
    MessageDialogButton* ShowModalWithin(const Window& parent);

  private:
    MessageDialogButton* show(const Window* parent);
};
