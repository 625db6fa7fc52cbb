#include "FolderListings.h"

const FolderListings::Listing& FolderListings::of(const FolderItem& folder) {
    const Identity identity = folder.Identity();
    auto [at, isNew] = listings_.try_emplace(identity);
    Listing& listing = at->second;
    if (!isNew)
        return listing;
    listing.identity = identity;
    for (FolderItem::Entry& entry : folder.Entries()) {
        if (entry.directory)
            listing.subfolders.push_back(std::move(entry.name));
        // A link whose target is gone is never a match: its path would name
        // nothing.
        else if (entry.exists)
            listing.files.push_back(std::move(entry.name));
    }
    return listing;
}
