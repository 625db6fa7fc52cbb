#pragma once

#include "Volumes.h"

#include <optional>
#include <string>

// How native paths map onto the mounted volumes, and onto colon paths: the
// volume's name, then the folders and the name, joined by ":" ("HD:tex:a.jpg").

// The volume holding the native path; nothing when no volume holds it.
std::optional<VolumeEntry> volumeOf(const std::string& nativePath);
bool isVolumeRoot(const std::string& nativePath);
// A name as a colon path shows it: a ":" inside it becomes "/".
std::string colonName(const std::string& name);
// The colon path of a native path; empty when no volume holds it.
std::string colonPathOf(const std::string& nativePath);
// The native path a colon path names; nothing when no volume of that name
// is mounted or a folder on the way is missing.
std::optional<std::string> nativePathOf(const std::string& colonPath);
