#include "FolderListings.h"

const FolderListings::Listing& FolderListings::of(const FolderItem& folder) {
    const DiskIdentity identity = folder.Identity();
    auto [at, isNew] = listings_.try_emplace(identity);
    Listing& listing = at->second;
    if (isNew)
        listing = {static_cast<uint32_t>(listings_.size() - 1), folder.ListEntries()};
    return listing;
}
