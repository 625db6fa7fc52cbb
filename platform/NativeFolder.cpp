#include "NativeFolder.h"

#include <algorithm>

#include <dirent.h>
#include <sys/stat.h>

namespace NativeFolder {

std::vector<std::string> entries(const std::string& nativePath) {
    std::vector<std::string> names;
    DIR* folder = ::opendir(nativePath.c_str());
    if (!folder)
        return names;
    while (const dirent* entry = ::readdir(folder)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    ::closedir(folder);
    // std::string compares its bytes as unsigned values, which is the bytewise order.
    std::sort(names.begin(), names.end());
    return names;
}

bool isFolder(const std::string& nativePath) {
    struct stat info {};
    return ::stat(nativePath.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace NativeFolder
