#pragma once

#include "FolderItem.h"

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

// The folders that the file searches of one scope have listed. Each folder is
// read from disk once and kept by its identity on disk, so a folder that is
// reached again, through a link or from another search root, is not read
// again.
class FolderListings {
  public:
    using Identity = std::pair<uint64_t, uint64_t>;

    // What a search needs of a folder, each list in entry order.
    struct Listing {
        Identity identity;
        // Files, links to files included.
        std::vector<std::string> files;
        // Folders, links to folders included.
        std::vector<std::string> subfolders;
    };

    // The folder's listing, read now if its folder was not read before; valid
    // as long as this object.
    const Listing& of(const FolderItem& folder);

  private:
    std::map<Identity, Listing> listings_;
};
