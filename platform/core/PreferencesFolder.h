#pragma once

#include "FolderItem.h"
#include "Ref.h"

// The user's configuration folder, created when missing; nil when it
// cannot be had.
Ref<FolderItem> PreferencesFolder();
