#include "MaxwellHelper.h"

#include "SearchLocations.h"
#include "Text.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

namespace MaxwellHelper {
namespace {

using Identity = std::pair<uint64_t, uint64_t>;

bool isMatch(const Ref<FolderItem>& entry, const std::string& name) {
    // A link whose target is gone is no match: its path would name nothing.
    return !entry->Directory() && StringEquals(entry->Name(), name) && entry->Exists();
}

// Searches one folder's tree: its own files first, then each subfolder's tree
// in entry order. Links to folders are followed, but a folder that is already
// on the way down from the search's start is not entered again, so a link
// back into the tree cannot make the walk endless.
Ref<FolderItem> searchTree(const std::string& name, const Ref<FolderItem>& folder,
                           std::vector<Identity>& walkPath) {
    const int count = folder->Count();
    std::vector<Ref<FolderItem>> subfolders;
    for (int index = 1; index <= count; ++index) {
        Ref<FolderItem> entry = folder->Item(index);
        if (entry->Directory())
            subfolders.push_back(std::move(entry));
        else if (isMatch(entry, name))
            return entry;
    }
    walkPath.push_back(folder->Identity());
    Ref<FolderItem> found;
    for (const Ref<FolderItem>& subfolder : subfolders) {
        if (std::ranges::find(walkPath, subfolder->Identity()) != walkPath.end())
            continue;
        found = searchTree(name, subfolder, walkPath);
        if (found)
            break;
    }
    walkPath.pop_back();
    return found;
}

Ref<FolderItem> searchFrom(const std::string& name, const Ref<FolderItem>& folder) {
    std::vector<Identity> walkPath;
    return searchTree(name, folder, walkPath);
}

} // namespace

Ref<FolderItem> findFile(const std::string& name, const Ref<FolderItem>& folder,
                         bool searchDefaults) {
    if (Ref<FolderItem> found = searchFrom(name, folder))
        return found;
    if (!searchDefaults)
        return nullptr;
    // A copy, so the locations searched are those listed when the search began.
    const SearchLocations::FolderList locations = SearchLocations::currentSearchLocations();
    for (const Ref<FolderItem>& location : locations) {
        if (Ref<FolderItem> found = searchFrom(name, location))
            return found;
    }
    return nullptr;
}

} // namespace MaxwellHelper
