#pragma once

#include "TempFolder.h"
#include "Volumes.h"

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
    TestVolumes() {
        Volumes::setTable({{"HD", folder_.makeFolder("HD")},
                           {"Data", folder_.makeFolder("Data")},
                           {"HD2", folder_.makeFolder("HD2")}});
        Volumes::setPreferencesRoot(preferencesRoot());
    }
    ~TestVolumes() {
        Volumes::setTable({});
        Volumes::setPreferencesRoot("");
    }

    // The native folder the volume is mounted at.
    std::string root(const std::string& volume) const { return folder_.pathOf(volume); }
    // The native path of relative inside the volume.
    std::string pathOf(const std::string& volume, const std::string& relative) const {
        return folder_.pathOf(volume + "/" + relative);
    }
    std::string makeFile(const std::string& volume, const std::string& relative,
                         const std::string& bytes = "") const {
        return folder_.makeFile(volume + "/" + relative, bytes);
    }
    std::string makeFolder(const std::string& volume, const std::string& relative) const {
        return folder_.makeFolder(volume + "/" + relative);
    }
    Ref<FolderItem> item(const std::string& volume, const std::string& relative) const {
        return folder_.item(volume + "/" + relative);
    }

    // The native path of the redirected preferences folder.
    std::string preferencesRoot() const { return folder_.pathOf("prefs"); }
    const TempFolder& folder() const { return folder_; }

  private:
    TempFolder folder_;
};
