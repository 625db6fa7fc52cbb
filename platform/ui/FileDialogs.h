#pragma once

#include "FolderItem.h"
#include "Ref.h"

#include <string>

// The framework's file dialogs; each returns nil when the user cancels.
// filterTypeNames: ";"-joined names of registered FileTypes (empty: any file).

Ref<FolderItem> GetOpenFolderItem(const std::string& filterTypeNames);
Ref<FolderItem> GetSaveFolderItem(const std::string& filterTypeNames,
                                  const std::string& defaultName);
Ref<FolderItem> SelectFolder();
