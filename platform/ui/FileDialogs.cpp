#include "FileDialogs.h"

#include "DialogResponder.h"

Ref<FolderItem> GetOpenFolderItem(const std::string& filterTypeNames) {
    return DialogResponder::current().showOpenFile(filterTypeNames);
}

Ref<FolderItem> GetSaveFolderItem(const std::string& filterTypeNames,
                                  const std::string& defaultName) {
    return DialogResponder::current().showSaveFile(filterTypeNames, defaultName);
}

Ref<FolderItem> SelectFolder() {
    return DialogResponder::current().showSelectFolder();
}
