#include "VolumePaths.h"

#include "NativeFolder.h"
#include "NativePaths.h"
#include "Text.h"

#include <algorithm>

using namespace NativePaths;

namespace {

// The volume holding the path: the one whose root is the longest prefix;
// among roots of the same length another volume wins over the startup
// volume. -1 when no volume holds the path.
int volumeIndexOf(const std::vector<VolumeEntry>& table, const std::string& path) {
    int best = -1;
    size_t bestLength = 0;
    for (size_t k = 1; k <= table.size(); ++k) {
        const size_t i = k % table.size();
        const std::string root = normalized(table[i].nativeRoot);
        if (isInside(path, root) && (best < 0 || root.size() > bestLength)) {
            best = static_cast<int>(i);
            bestLength = root.size();
        }
    }
    return best;
}

} // namespace

std::string colonName(const std::string& name) {
    return ReplaceAllB(name, ":", "/");
}

// The system's table is not read for this (a batch asks for every file it
// meets): the path lies on the volume mounted at the folder directly inside
// the volumes folder that leads to it, when that is a folder, and otherwise
// on the startup volume.
std::optional<VolumeEntry> volumeOf(const std::string& path) {
    if (!Volumes::isSystemTable()) {
        const auto table = Volumes::table();
        const int volume = volumeIndexOf(table, path);
        if (volume < 0)
            return std::nullopt;
        const VolumeEntry& entry = table[static_cast<size_t>(volume)];
        return VolumeEntry{entry.name, normalized(entry.nativeRoot)};
    }
    const std::string& mounts = Volumes::volumesFolder();
    if (path.size() > mounts.size() && isInside(path, mounts)) {
        const std::string root = path.substr(0, path.find('/', mounts.size() + 1));
        if (NativeFolder::isFolder(root))
            return VolumeEntry{baseName(root), root};
    }
    return VolumeEntry{Volumes::StartupVolumeName, "/"};
}

bool isVolumeRoot(const std::string& path) {
    if (path == "/")
        return true; // the startup volume's in the system's table; never left anyway
    if (Volumes::isSystemTable() && folderOf(path) != Volumes::volumesFolder())
        return false;
    const std::optional<VolumeEntry> volume = volumeOf(path);
    return volume && volume->nativeRoot == path;
}

std::string colonPathOf(const std::string& nativePath) {
    const std::optional<VolumeEntry> volume = volumeOf(nativePath);
    if (!volume)
        return {};
    std::string path = colonName(volume->name) + ":";
    const size_t start = path.size();
    for (const std::string& name : Split(nativePath.substr(volume->nativeRoot.size()), "/")) {
        if (name.empty())
            continue;
        if (path.size() > start)
            path += ':';
        path += colonName(name);
    }
    return path;
}

std::optional<std::string> nativePathOf(const std::string& colonPath) {
    const std::vector<std::string> components = Split(colonPath, ":");
    const auto table = Volumes::table();
    const auto volume = std::ranges::find_if(table, [&](const VolumeEntry& entry) {
        return StringEquals(colonName(entry.name), components[0]);
    });
    if (volume == table.end())
        return std::nullopt;
    std::string path = normalized(volume->nativeRoot);
    for (size_t i = 1; i < components.size(); ++i) {
        if (components[i].empty())
            continue;
        const std::string name = ReplaceAllB(components[i], "/", ":");
        // "." and ".." are no names on a colon path: they would lead out of the volume.
        if (!isPlainName(name) || !NativeFolder::isFolder(path))
            return std::nullopt;
        path = joined(path, name);
    }
    return path;
}
