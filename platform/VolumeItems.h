#pragma once

#include "Ref.h"

#include <string>

class FolderItem;

// The item named by a colon path (path type 0); nil when no volume of that
// name is mounted or a folder on the way is missing.
Ref<FolderItem> GetFolderItem(const std::string& absolutePath, int pathType = 0);
// The mounted volume at the index: 0 the startup volume; nil past the last.
Ref<FolderItem> Volume(int index);
int VolumeCount();
