#include "MessageDialog.h"

#include "DialogResponder.h"

MessageDialogButton* MessageDialog::ShowModalWithin(const Window& parent) {
    switch (DialogResponder::current().showMessageDialog(*this, &parent)) {
    case MessageDialogChoice::Action:
        return &ActionButton;
    case MessageDialogChoice::Cancel:
        return &CancelButton;
    case MessageDialogChoice::AlternateAction:
        return &AlternateActionButton;
    case MessageDialogChoice::None:
        break;
    }
    return nullptr;
}
