#pragma once

#include "FoldedNameTable.h"
#include "FolderItem.h"
#include "FolderListings.h"
#include "Ref.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The files of one search root's tree by name, in the order of the plain
// walk: the root's own files, then each subfolder's tree, depth first in
// entry order, each folder's own files before its subfolders. Links to
// folders are followed, but a folder (by its identity on disk) is entered at
// most once per root: a link back into the tree cannot make the walk endless,
// and folders reached along many link paths are not walked once per path.
// Skipping them changes no result: when the plain walk comes back to a
// folder, everything it can reach from there has already been met. The walk
// goes only as far as the lookups need: a file near the root costs no more
// than the plain walk would.
class FolderIndex {
  public:
    FolderIndex(const Ref<FolderItem>& root, FolderListings& listings);

    // The first file of that name in walk order, letter case ignored as the
    // framework's string equality ignores it; nil when the tree holds none.
    Ref<FolderItem> find(const std::string& name);

  private:
    // A folder entered; its files are numbered on from those of the folders
    // entered before it. Kept small, for trees of many folders: its path is
    // its parent's and its name there.
    struct Folder {
        const FolderListings::Listing* listing;
        uint32_t firstFile;
        uint32_t parent; // the root's is its own
        uint32_t name;   // offset in the parent's listing
    };
    // A folder on the way down, with the next of its subfolders to walk.
    struct Step {
        uint32_t folder;
        size_t nextSubfolder;
        Ref<FolderItem> item;
    };

    void enter(const Ref<FolderItem>& item, const FolderListings::Listing& listing, uint32_t parent,
               uint32_t name);
    Ref<FolderItem> itemOf(uint32_t folder) const;
    bool enterNextFolder();
    const Folder& folderOfFile(uint32_t number) const;
    std::string_view fileName(uint32_t number) const;

    FolderListings& listings_;
    Ref<FolderItem> root_;
    // Every folder entered, in walk order.
    std::vector<Folder> folders_;
    uint32_t fileCount_ = 0;
    // The folder that held the file asked for last, tried first: the names
    // compared while a folder is entered mostly lie close together.
    mutable size_t lastFolder_ = 0;
    std::vector<Step> walkPath_;
    // By listing number. Per root, not per cache: another root's index may
    // not have walked as far yet, so a folder it entered is no proof that
    // this walk met its files.
    std::vector<bool> entered_;
    // The number of the first file met under each name.
    FoldedNameTable firstFiles_;
    // The names of the folder being entered, kept to save allocations.
    std::vector<std::string_view> names_;
};
