#include "FileDialogs.h"

#include "DialogDispatcher.h"
#include "DialogResponder.h"

Ref<FolderItem> GetOpenFolderItem(const std::string& filterTypeNames) {
    return DialogDispatcher::responder().showOpenFile(filterTypeNames);
}

Ref<FolderItem> GetSaveFolderItem(const std::string& filterTypeNames,
                                  const std::string& defaultName) {
    return DialogDispatcher::responder().showSaveFile(filterTypeNames, defaultName);
}

Ref<FolderItem> SelectFolder() {
    return DialogDispatcher::responder().showSelectFolder();
}
