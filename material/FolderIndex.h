#pragma once

#include "FolderItem.h"
#include "FolderListings.h"
#include "Ref.h"

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

// The files of one search root's tree by name, in the order of the plain
// walk: the root's own files, then each subfolder's tree, depth first in
// entry order, each folder's own files before its subfolders. Links to
// folders are followed, but a folder that is already on the way down from
// the root is not entered again, so a link back into the tree cannot make
// the walk endless. The walk goes only as far as the lookups need: a file
// near the root costs no more than the plain walk would.
class FolderIndex {
  public:
    FolderIndex(const Ref<FolderItem>& root, FolderListings& listings);

    // The first file of that name in walk order, letter case ignored as the
    // framework's string equality ignores it; nil when the tree holds none.
    Ref<FolderItem> find(const std::string& name);

  private:
    // A folder on the way down, with the next of its subfolders to walk.
    struct Step {
        std::size_t folder;
        const FolderListings::Listing* listing;
        std::size_t nextSubfolder;
    };
    // Where a name was first met: a folder entered and the file's name there.
    struct Place {
        std::size_t folder;
        const std::string* name;
    };

    void enter(const Ref<FolderItem>& folder, const FolderListings::Listing& listing);
    bool enterNextFolder();
    bool onWalkPath(const FolderListings::Identity& identity) const;

    FolderListings& listings_;
    // Every folder entered, in walk order.
    std::vector<Ref<FolderItem>> folders_;
    std::vector<Step> walkPath_;
    // By name with ASCII letters in lower case; the first file met wins.
    std::unordered_map<std::string, Place> firstFiles_;
};
