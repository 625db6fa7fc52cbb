#pragma once

#include "MessageDialogButton.h"

#include <string>

// What a MessageDialog shows: its icon, texts and buttons. The dialog
// responders see this alone; asking the question is MessageDialog's.
struct MessageDialogContent {
    // 0 note, 1 caution, 2 stop, 3 question; other values show no icon.
    int Icon = 0;
    std::string Message;
    std::string Explanation;
    MessageDialogButton ActionButton{"OK", true};
    MessageDialogButton CancelButton{"Cancel", false};
    MessageDialogButton AlternateActionButton{"Don't Save", false};
};
