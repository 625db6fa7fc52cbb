#include "Volumes.h"

#include "NativeFolder.h"

namespace {

constexpr const char* SystemVolumesFolder = "/Volumes";

std::string& fixedVolumesFolder() {
    static std::string folder;
    return folder;
}

std::vector<VolumeEntry>& fixedTable() {
    static std::vector<VolumeEntry> entries;
    return entries;
}

std::string& fixedPreferencesRoot() {
    static std::string root;
    return root;
}

std::vector<VolumeEntry> systemTable() {
    std::vector<VolumeEntry> entries{{Volumes::StartupVolumeName, "/"}};
    const std::string& folder = Volumes::volumesFolder();
    for (const std::string& name : NativeFolder::entries(folder)) {
        const std::string root = folder + "/" + name;
        if (NativeFolder::isFolder(root))
            entries.push_back({name, root});
    }
    return entries;
}

} // namespace

namespace Volumes {

std::vector<VolumeEntry> table() {
    return fixedTable().empty() ? systemTable() : fixedTable();
}

bool isSystemTable() {
    return fixedTable().empty();
}

const std::string& volumesFolder() {
    static const std::string system = SystemVolumesFolder;
    return fixedVolumesFolder().empty() ? system : fixedVolumesFolder();
}

void setVolumesFolder(const std::string& nativePath) {
    fixedVolumesFolder() = nativePath;
}

void setTable(std::vector<VolumeEntry> entries) {
    fixedTable() = std::move(entries);
}

void setPreferencesRoot(const std::string& nativePath) {
    fixedPreferencesRoot() = nativePath;
}

std::string preferencesRoot() {
    return fixedPreferencesRoot();
}

} // namespace Volumes
