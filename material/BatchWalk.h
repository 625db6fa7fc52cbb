#pragma once

#include "FolderBeneath.h"
#include "FolderItem.h"

#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

// One pass over the tree below a start folder, as the batch counts and
// walks it: the material files of a folder in bytewise name order, then its
// subfolders, depth first. Every folder and file is reached from the start
// folder without following a link out of it: a link is followed only while
// its way stays inside, so one leading outside is neither entered nor
// counted. A pass enters each folder once, at its first reach, so that links
// back into the tree cost nothing, and handles each file once, under the
// name it was first reached by. No depth limit: the walk keeps its own
// stack, and deep folders give their descriptors up (see FolderBeneath).
class BatchWalk {
  public:
    // A material file: the name it was listed under (a link's own name),
    // and the file itself, links followed. Or a folder that could not be
    // opened, handed over where its contents would have come: its name and
    // the system's reason.
    struct File {
        std::string name;
        FolderBeneath::Place place;
        int folderError = 0;
    };

    // stopAsked is asked before each entry and each folder: once it is
    // true, no further file is handed over. nowAndThen is called before
    // each entry, so that events can be let through on any tree.
    BatchWalk(std::function<bool()> stopAsked, std::function<void()> nowAndThen);

    // Hands each material file below the start folder to visit, in walk
    // order; false when the start folder cannot be opened.
    bool run(const std::string& startFolder, const std::function<void(const File&)>& visit);

  private:
    using Subfolders = std::vector<FolderBeneath::Place>;
    Subfolders scan(const FolderBeneath::Ptr& folder,
                    const std::function<void(const File&)>& visit);
    bool firstEntry(const FolderBeneath& folder);
    bool firstShut(const FolderBeneath::Place& folder);
    bool firstReach(const FolderBeneath::Place& file);

    std::function<bool()> stopAsked_;
    std::function<void()> nowAndThen_;
    std::set<DiskIdentity> folders_;
    // By folder and name, which a rewrite keeps, and by disk identity for
    // files with more than one name (hard links).
    std::set<std::pair<DiskIdentity, std::string>> files_;
    std::set<DiskIdentity> sharedFiles_;
};
