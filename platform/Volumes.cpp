#include "Volumes.h"

#include "NativeFolder.h"

namespace {

constexpr const char* VolumesFolder = "/Volumes";

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
    for (const std::string& name : NativeFolder::entries(VolumesFolder)) {
        const std::string root = std::string(VolumesFolder) + "/" + name;
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
