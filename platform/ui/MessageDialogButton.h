#pragma once

#include <string>

// One button of a MessageDialog.
struct MessageDialogButton {
    std::string Caption;
    bool Visible = false;
};
