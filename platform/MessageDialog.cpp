#include "MessageDialog.h"

#include "DialogDispatcher.h"
#include "DialogResponder.h"

MessageDialog::MessageDialog() {
    ActionButton = {"OK", true};
    CancelButton = {"Cancel", false};
    AlternateActionButton = {"Don't Save", false};
}

MessageDialogButton* MessageDialog::ShowModal() {
    switch (DialogDispatcher::responder().showMessageDialog(*this)) {
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
