#include "MaxwellHelper.h"

#include "FolderItem.h"
#include "Services.h"
#include "Text.h"

namespace MaxwellHelper {
namespace {

const std::string volumesPrefix = "/Volumes/";

std::string startupVolumeName() {
    return Volume(0)->Name();
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
    const int prefixLength = LenB(volumesPrefix);
    const std::string localPath = StringEquals(LeftB(path, prefixLength), volumesPrefix)
                                      ? RightB(path, LenB(path) - prefixLength)
                                      : startupVolumeName() + path;
    const Ref<FolderItem> item = GetFolderItem(ReplaceAllB(localPath, "/", ":"), 0);
    if (!item || !item->Exists())
        return false;
    if (StringEquals(item->Name(), name) || StringEquals(item->DisplayName(), name))
        return true;
    // Something else stands where the file should be; the caller searches for
    // the file by name, and the beep tells the user why.
    Beep();
    return false;
}

} // namespace MaxwellHelper
