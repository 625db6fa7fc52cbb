#pragma once

#include "FolderItem.h"
#include "Ref.h"
#include "WriteResult.h"

#include <string>
#include <vector>

// Keeps a list of default locations (absolute paths) and the preferences
// file in step, also while other running copies of the program save the
// same file: each copy's additions and removals are made to the list on
// disk, so that none is lost.
class LocationsStore {
  public:
    explicit LocationsStore(std::vector<std::string>& list) : list_(list) {}

    // Appends every location the file names, present or not; a file that
    // is missing or cannot be read adds none.
    void load(const Ref<FolderItem>& file);
    // Writes the list to the file when it differs from the list last loaded
    // or saved; otherwise writes nothing. The file is read again first: when
    // another copy has saved it since, this list's additions and removals
    // since then are made to the file's list, which becomes this list. A
    // failure leaves the file as it was and says why.
    WriteResult save(const Ref<FolderItem>& file);

  private:
    std::vector<std::string>& list_;
    // The list as the file held it when it was last loaded or saved.
    std::vector<std::string> saved_;
};
