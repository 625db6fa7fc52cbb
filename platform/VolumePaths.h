#pragma once

#include "Ref.h"
#include "Volumes.h"

#include <optional>
#include <string>

class FolderItem;

// How native paths map onto the mounted volumes, and onto colon paths: the
// volume's name, then the folders and the name, joined by ":" ("HD:tex:a.jpg").

// The volume holding the native path; nothing when no volume holds it.
std::optional<VolumeEntry> volumeOf(const std::string& nativePath);
bool isVolumeRoot(const std::string& nativePath);
// The colon path of a native path (a ":" inside a name shown as "/"); empty
// when no volume holds it.
std::string colonPathOf(const std::string& nativePath);

// The item named by a colon path (path type 0); nil when no volume of that
// name is mounted or a folder on the way is missing.
Ref<FolderItem> GetFolderItem(const std::string& absolutePath, int pathType = 0);
// The mounted volume at the index: 0 the startup volume; nil past the last.
Ref<FolderItem> Volume(int index);
int VolumeCount();
