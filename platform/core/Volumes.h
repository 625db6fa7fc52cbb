#pragma once

#include <string>
#include <vector>

// The table of mounted volumes: the startup volume first, then every folder
// directly inside the volumes folder. Tests replace it with folders of their
// own.
struct VolumeEntry {
    std::string name;       // as AbsolutePath shows it
    std::string nativeRoot; // the folder the volume is mounted at
};

namespace Volumes {

// The startup volume's name, used wherever the system names it.
inline constexpr const char* StartupVolumeName = "Startup Disk";

// The table as it stands now: a fixed table when one was set, otherwise the
// root of the file system and every folder directly inside the volumes
// folder (/Volumes).
std::vector<VolumeEntry> table();

// Whether table() is the system's own, read from the volumes folder. Then
// only "/" and the folders directly inside the volumes folder can be volume
// roots, each other volume named as its folder is: callers that only ask
// about one path need not read the table.
bool isSystemTable();
const std::string& volumesFolder();
// Replaces the volumes folder (tests); empty restores /Volumes.
void setVolumesFolder(const std::string& nativePath);

// Replaces the table (startup volume first); an empty table restores the
// system's own. Not while other threads use the table: tests set it before
// they start anything.
void setTable(std::vector<VolumeEntry> entries);

// Replaces the preferences folder (tests); empty restores the user's own.
void setPreferencesRoot(const std::string& nativePath);
std::string preferencesRoot();

} // namespace Volumes
