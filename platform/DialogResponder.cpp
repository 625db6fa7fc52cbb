#include "DialogResponder.h"

#include <cstdio>

void DialogResponder::showMsgBox(const std::string& text) {
    std::fprintf(stderr, "MsgBox: %s\n", text.c_str());
}

MessageDialogChoice DialogResponder::showMessageDialog(const MessageDialogContent&, const Window*) {
    return MessageDialogChoice::Cancel;
}

Ref<FolderItem> DialogResponder::showOpenFile(const std::string&) {
    return nullptr;
}

Ref<FolderItem> DialogResponder::showSaveFile(const std::string&, const std::string&) {
    return nullptr;
}

Ref<FolderItem> DialogResponder::showSelectFolder() {
    return nullptr;
}

void DialogResponder::beep() {
    std::fputs("Beep\n", stderr);
}
