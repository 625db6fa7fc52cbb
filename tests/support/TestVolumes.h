#pragma once

#include "TempFolder.h"

#include <string>

// Three temporary volumes installed as the volume table: the startup volume
// "HD", then "Data" and "HD2", each an empty folder of its own. The
// preferences folder is redirected to a folder "prefs" beside them (not
// made until PreferencesFolder asks for it). The system's table and the
// user's preferences folder come back when the object goes away.
//
//   TestVolumes volumes;
//   volumes.makeFile("Data", "tex/a.ior");   // GetFolderItem("Data:tex:a.ior", 0)
class TestVolumes {
  public:
    TestVolumes();
    ~TestVolumes();
    TestVolumes(const TestVolumes&) = delete;
    TestVolumes& operator=(const TestVolumes&) = delete;

    // The native folder the volume is mounted at.
    std::string root(const std::string& volume) const;
    // The native path of relative inside the volume.
    std::string pathOf(const std::string& volume, const std::string& relative) const;
    std::string makeFile(const std::string& volume, const std::string& relative,
                         const std::string& bytes = "") const;
    std::string makeFolder(const std::string& volume, const std::string& relative) const;
    Ref<FolderItem> item(const std::string& volume, const std::string& relative) const;

    // The native path of the redirected preferences folder.
    std::string preferencesRoot() const;
    const TempFolder& folder() const { return folder_; }

  private:
    TempFolder folder_;
};
