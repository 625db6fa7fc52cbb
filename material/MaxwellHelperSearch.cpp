#include "MaxwellHelper.h"

#include "SearchCache.h"
#include "SearchLocations.h"

namespace MaxwellHelper {

Ref<FolderItem> findFile(const std::string& name, const Ref<FolderItem>& folder,
                         bool searchDefaults) {
    // Inside a path check or a batch run the scope is theirs, so the folders
    // walked for earlier missing files are not read again.
    const SearchCache::Scope scope;
    SearchCache& cache = scope.cache();
    if (Ref<FolderItem> found = cache.find(name, folder))
        return found;
    if (!searchDefaults)
        return nullptr;
    // A copy, so the locations searched are those listed when the search began.
    const SearchLocations::FolderList locations = SearchLocations::currentSearchLocations();
    for (const Ref<FolderItem>& location : locations) {
        if (Ref<FolderItem> found = cache.find(name, location))
            return found;
    }
    return nullptr;
}

} // namespace MaxwellHelper
