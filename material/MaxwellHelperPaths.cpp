#include "MaxwellHelper.h"

#include "Alerts.h"
#include "FolderItem.h"
#include "Text.h"

namespace MaxwellHelper {
namespace {

const std::string volumesPrefix = "/Volumes/";

std::string startupVolumeName() {
    return Volume(0)->Name();
}

// The item at the place a stored path names; nil when no such place exists.
Ref<FolderItem> itemAt(const std::string& path) {
    const int prefixLength = LenB(volumesPrefix);
    const std::string localPath = StringEquals(LeftB(path, prefixLength), volumesPrefix)
                                      ? RightB(path, LenB(path) - prefixLength)
                                      : startupVolumeName() + path;
    return GetFolderItem(ReplaceAllB(localPath, "/", ":"), 0);
}

} // namespace

std::string getMaxwellPath(const Ref<FolderItem>& f) {
    // The path keeps its bytes as they are: narrowing it to ISO Latin-1 would
    // replace every other character and give a path that names no file.
    std::string path = ReplaceAllB(f->AbsolutePath(), ":", "/");
    const std::string volumeName = startupVolumeName();
    // A plain prefix test, as stored files expect: beside a startup volume HD a
    // volume HD2 gives "2/...", which the lookup below turns back into HD2.
    if (StringEquals(LeftB(path, LenB(volumeName)), volumeName))
        return RightB(path, LenB(path) - LenB(volumeName));
    return volumesPrefix + path;
}

bool MaxwellPathFileExists(const std::string& path, const std::string& name) {
    const Ref<FolderItem> item = itemAt(path);
    if (!item || !item->Exists())
        return false;
    if (StringEquals(item->Name(), name) || StringEquals(item->DisplayName(), name))
        return true;
    // Something else stands where the file should be; the caller searches for
    // the file by name, and the beep tells the user why.
    Beep();
    return false;
}

bool MaxwellPathLeadsTo(const std::string& path, const Ref<FolderItem>& file) {
    const Ref<FolderItem> item = itemAt(path);
    return item && item->Exists() && file->Exists() && item->Identity() == file->Identity();
}

std::vector<std::string> VolumePrefixesBesideStartup() {
    const std::string startup = startupVolumeName();
    std::vector<std::string> prefixes;
    for (int index = 1; index < VolumeCount(); ++index) {
        const std::string name = Volume(index)->Name();
        if (LenB(name) > LenB(startup) && StringEquals(LeftB(name, LenB(startup)), startup))
            prefixes.push_back(RightB(name, LenB(name) - LenB(startup)) + "/");
    }
    return prefixes;
}

} // namespace MaxwellHelper
