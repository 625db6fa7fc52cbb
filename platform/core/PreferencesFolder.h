#pragma once

#include "FolderItem.h"
#include "Ref.h"

#include <string>

// The user's configuration folder, created when missing; nil when it
// cannot be had.
Ref<FolderItem> PreferencesFolder();
// Its native path, whether it can be made or not; empty when the user has
// none (no home folder).
std::string PreferencesFolderPath();
