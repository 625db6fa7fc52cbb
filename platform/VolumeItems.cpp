#include "VolumeItems.h"

#include "FolderItem.h"
#include "NativeFolder.h"
#include "NativePaths.h"
#include "Text.h"
#include "VolumePaths.h"

using namespace NativePaths;

Ref<FolderItem> GetFolderItem(const std::string& absolutePath, int pathType) {
    if (pathType != 0)
        return nullptr;
    const std::vector<std::string> components = Split(absolutePath, ":");
    const auto table = Volumes::table();
    const VolumeEntry* volume = nullptr;
    for (const VolumeEntry& entry : table)
        if (!volume && StringEquals(colonName(entry.name), components[0]))
            volume = &entry;
    if (!volume)
        return nullptr;
    std::string path = normalized(volume->nativeRoot);
    for (size_t i = 1; i < components.size(); ++i) {
        if (components[i].empty())
            continue;
        const std::string name = ReplaceAllB(components[i], "/", ":");
        // "." and ".." are no names on a colon path: they would lead out of the volume.
        if (!isPlainName(name) || !NativeFolder::isFolder(path))
            return nullptr;
        path = joined(path, name);
    }
    return makeRef<FolderItem>(path);
}

Ref<FolderItem> Volume(int index) {
    const auto table = Volumes::table();
    if (index < 0 || static_cast<size_t>(index) >= table.size())
        return nullptr;
    return makeRef<FolderItem>(table[static_cast<size_t>(index)].nativeRoot);
}

int VolumeCount() {
    return static_cast<int>(Volumes::table().size());
}
