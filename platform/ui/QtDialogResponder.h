#pragma once

#include "DialogResponder.h"

// Qt's own (not the desktop's native) dialogs, application-modal, so that a
// person or a test under a virtual display drives them the same way
// everywhere.
class QtDialogResponder : public DialogResponder {
  public:
    void showMsgBox(const std::string& text) override;
    MessageDialogChoice showMessageDialog(const MessageDialogContent& dialog,
                                          const Window* parent) override;
    Ref<FolderItem> showOpenFile(const std::string& filterTypeNames) override;
    Ref<FolderItem> showSaveFile(const std::string& filterTypeNames,
                                 const std::string& defaultName) override;
    Ref<FolderItem> showSelectFolder() override;
    void beep() override;

    // The program's name in the title of the dialogs; when empty, Qt's
    // name of the application.
    static void setProgramName(const std::string& name);
};
