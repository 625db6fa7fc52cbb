#include "FolderListings.h"

const FolderListings::Listing& FolderListings::of(const FolderItem& folder) {
    const Identity identity = folder.Identity();
    auto [at, isNew] = listings_.try_emplace(identity);
    Listing& listing = at->second;
    if (isNew)
        listing = {identity, folder.ListEntries()};
    return listing;
}
