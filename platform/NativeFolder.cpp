#include "NativeFolder.h"

#include "KernelFileSystems.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace NativeFolder {
namespace {

bool isDotEntry(const dirent& entry) {
    return std::strcmp(entry.d_name, ".") == 0 || std::strcmp(entry.d_name, "..") == 0;
}

// Calls visit(entry, folderFd) for each entry but "." and "..". A folder on
// one of the kernel's pseudo file systems has none.
template <class Visit> void eachEntry(const std::string& nativePath, Visit visit) {
    const int fd = ::open(nativePath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    DIR* folder = KernelFileSystems::holds(fd) ? nullptr : ::fdopendir(fd);
    if (!folder) {
        ::close(fd);
        return;
    }
    const int folderFd = ::dirfd(folder);
    while (const dirent* entry = ::readdir(folder))
        if (!isDotEntry(*entry))
            visit(*entry, folderFd);
    ::closedir(folder);
}

// Without search permission on the folder no entry can be looked at, which
// is what a stat of each entry says; the types the listing reports would not.
bool entriesReachable(int folderFd) {
    return ::faccessat(folderFd, ".", X_OK, AT_EACCESS) == 0;
}

// The listing tells the type of most entries; only links and entries of an
// unknown type need a stat, to follow the link as a stat of the path would.
Entry typedEntry(const dirent& entry, int folderFd, bool reachable) {
    const int type = reachable ? entry.d_type : int{DT_UNKNOWN};
    if (type == DT_DIR)
        return {entry.d_name, true, true};
    if (type != DT_LNK && type != DT_UNKNOWN)
        return {entry.d_name, false, true};
    struct stat info {};
    if (::fstatat(folderFd, entry.d_name, &info, 0) != 0)
        return {entry.d_name, false, false};
    return {entry.d_name, S_ISDIR(info.st_mode), true};
}

} // namespace

std::vector<std::string> entries(const std::string& nativePath) {
    std::vector<std::string> names;
    eachEntry(nativePath, [&names](const dirent& entry, int) { names.emplace_back(entry.d_name); });
    // std::string compares its bytes as unsigned values, which is the bytewise order.
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<Entry> typedEntries(const std::string& nativePath) {
    std::vector<Entry> found;
    std::optional<bool> reachable;
    eachEntry(nativePath, [&](const dirent& entry, int folderFd) {
        if (!reachable)
            reachable = entriesReachable(folderFd);
        found.push_back(typedEntry(entry, folderFd, *reachable));
    });
    std::sort(found.begin(), found.end(),
              [](const Entry& a, const Entry& b) { return a.name < b.name; });
    return found;
}

bool isFolder(const std::string& nativePath) {
    struct stat info {};
    return ::stat(nativePath.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace NativeFolder
