#pragma once

#include "FolderItem.h"
#include "Ref.h"

#include <string>

// A fresh folder under the system's temporary folder, removed with all it
// holds (write-protected folders included) when the object goes away.
//
//   TempFolder temp;
//   temp.makeFile("tex/a.ior", "bytes");     // makes tex/ as well
//   Ref<FolderItem> f = temp.item("tex/a.ior");
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder's native path (no trailing slash).
    const std::string& path() const { return path_; }
    // The native path of relative ("a/b.txt") inside the folder.
    std::string pathOf(const std::string& relative) const { return path_ + "/" + relative; }
    Ref<FolderItem> item(const std::string& relative) const {
        return makeRef<FolderItem>(pathOf(relative));
    }

    // These make the folders on the way too, and return the native path.
    std::string makeFile(const std::string& relative, const std::string& bytes = "") const;
    std::string makeFolder(const std::string& relative) const;
    // The bytes of a file inside the folder; empty when it cannot be read.
    std::string readFile(const std::string& relative) const;

  private:
    std::string path_;
};
