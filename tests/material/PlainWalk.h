#pragma once

#include "FolderItem.h"
#include "Text.h"

#include <algorithm>
#include <string>
#include <vector>

inline std::string pathOf(const Ref<FolderItem>& file) {
    return file ? file->NativePath() : "";
}

// The search as it was first written, without any cache: every entry asked
// on its own, every link path walked again, only a folder already on the way
// down skipped. The cached search must find exactly what this finds.
inline Ref<FolderItem> plainWalk(const std::string& name, const Ref<FolderItem>& folder,
                                 std::vector<DiskIdentity> walkPath = {}) {
    walkPath.push_back(folder->Identity());
    for (int index = 1, count = folder->Count(); index <= count; ++index)
        if (Ref<FolderItem> entry = folder->Item(index); !entry->Directory() && entry->Exists())
            if (StringEquals(entry->Name(), name))
                return entry;
    for (int index = 1, count = folder->Count(); index <= count; ++index)
        if (Ref<FolderItem> entry = folder->Item(index); entry->Directory())
            if (std::ranges::find(walkPath, entry->Identity()) == walkPath.end())
                if (Ref<FolderItem> found = plainWalk(name, entry, walkPath))
                    return found;
    return nullptr;
}
