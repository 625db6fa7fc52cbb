#pragma once

#include "FolderItem.h"

#include <cstdint>
#include <map>

// The folders that the file searches of one scope have listed. Each folder is
// read from disk once and kept by its identity on disk, so a folder that is
// reached again, through a link or from another search root, is not read
// again.
class FolderListings {
  public:
    // What a search needs of a folder: its files (links to files included;
    // a link whose target is gone is never a match, its path would name
    // nothing) and its subfolders (links to folders included), in entry order.
    struct Listing {
        // 0 for the first folder read, then 1, 2, ...: a walk marks the
        // folders it has entered in a vector of that length.
        uint32_t number;
        FolderItem::Listing entries;
    };

    // The folder's listing, read now if its folder was not read before; valid
    // as long as this object.
    const Listing& of(const FolderItem& folder);
    size_t count() const { return listings_.size(); }

  private:
    std::map<DiskIdentity, Listing> listings_;
};
