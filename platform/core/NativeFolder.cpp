#include "NativeFolder.h"

#include "KernelFileSystems.h"

#include <algorithm>
#include <cstring>
#include <limits>
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

// Calls visit(entry, fd) for each entry but "." and ".." of the folder open
// as fd, which it takes over; from the first entry on, also when a copy of
// the descriptor has been read before. A folder on one of the kernel's
// pseudo file systems has none.
template <class Visit> void eachEntryOf(int fd, Visit visit) {
    if (fd < 0)
        return;
    DIR* folder = KernelFileSystems::holds(fd) ? nullptr : ::fdopendir(fd);
    if (!folder) {
        ::close(fd);
        return;
    }
    ::rewinddir(folder);
    while (const dirent* entry = ::readdir(folder))
        if (!isDotEntry(*entry))
            visit(*entry, fd);
    ::closedir(folder);
}

template <class Visit> void eachEntry(const std::string& nativePath, Visit visit) {
    eachEntryOf(::open(nativePath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC), visit);
}

// Without search permission on the folder no entry can be looked at, which
// is what a stat of each entry says; the types the listing reports would not.
bool entriesReachable(int folderFd) {
    return ::faccessat(folderFd, ".", X_OK, AT_EACCESS) == 0;
}

enum class Kind : uint8_t { File, Folder, Gone };

// The listing tells the type of most entries; only links and entries of an
// unknown type need a stat, to follow the link as a stat of the path would.
Kind kindOf(const dirent& entry, int folderFd, bool reachable) {
    const int type = reachable ? entry.d_type : int{DT_UNKNOWN};
    if (type == DT_DIR)
        return Kind::Folder;
    if (type != DT_LNK && type != DT_UNKNOWN)
        return Kind::File;
    struct stat info {};
    if (::fstatat(folderFd, entry.d_name, &info, 0) != 0)
        return Kind::Gone;
    return S_ISDIR(info.st_mode) ? Kind::Folder : Kind::File;
}

struct ReadEntry {
    // The first eight bytes of the name as a number, so that most of the
    // comparisons of the sort are one comparison of two numbers.
    uint64_t key;
    uint32_t offset;
    Kind kind;
};

uint64_t sortKey(const char* name) {
    uint64_t key = 0;
    for (int i = 0; i < 8 && name[i]; ++i)
        key |= uint64_t{static_cast<unsigned char>(name[i])} << (56 - 8 * i);
    return key;
}

struct Scratch {
    std::string names;
    std::vector<ReadEntry> entries;
};

// Reads the folder into a buffer kept between calls, so that the listing
// itself can be allocated at its exact size; the entries sorted bytewise.
const Scratch& readSorted(const std::string& nativePath) {
    thread_local Scratch read;
    read.names.clear();
    read.entries.clear();
    std::optional<bool> reachable;
    eachEntry(nativePath, [&](const dirent& entry, int folderFd) {
        // Offsets are 32 bits; no real folder comes near 4 GiB of names.
        if (read.names.size() > std::numeric_limits<uint32_t>::max() - 512)
            return;
        if (!reachable)
            reachable = entriesReachable(folderFd);
        read.entries.push_back({sortKey(entry.d_name), static_cast<uint32_t>(read.names.size()),
                                kindOf(entry, folderFd, *reachable)});
        read.names.append(entry.d_name, std::strlen(entry.d_name) + 1);
    });
    // strcmp compares bytes as unsigned values, which is the bytewise order.
    std::sort(
        read.entries.begin(), read.entries.end(), [&](const ReadEntry& a, const ReadEntry& b) {
            if (a.key != b.key)
                return a.key < b.key;
            return std::strcmp(read.names.data() + a.offset, read.names.data() + b.offset) < 0;
        });
    return read;
}

} // namespace

std::vector<std::string> entries(const std::string& nativePath) {
    std::vector<std::string> names;
    eachEntry(nativePath, [&names](const dirent& entry, int) { names.emplace_back(entry.d_name); });
    // std::string compares its bytes as unsigned values, which is the bytewise order.
    std::sort(names.begin(), names.end());
    return names;
}

Listing listing(const std::string& nativePath) {
    const Scratch& read = readSorted(nativePath);
    Listing listing;
    listing.names = read.names;
    std::vector<uint32_t>* lists[] = {&listing.files, &listing.folders, &listing.gone};
    size_t counts[3] = {};
    for (const ReadEntry& entry : read.entries)
        ++counts[static_cast<size_t>(entry.kind)];
    for (size_t i = 0; i < 3; ++i)
        lists[i]->reserve(counts[i]);
    for (const ReadEntry& entry : read.entries)
        lists[static_cast<size_t>(entry.kind)]->push_back(entry.offset);
    return listing;
}

namespace {

// The listing tells the kind of most entries; only those of an unknown type
// need a look, which follows no link either.
Entries::Kind kindAt(const dirent& entry, int folderFd) {
    int type = entry.d_type;
    struct stat info {};
    if (type == DT_UNKNOWN && ::fstatat(folderFd, entry.d_name, &info, AT_SYMLINK_NOFOLLOW) == 0)
        type = S_ISDIR(info.st_mode) ? DT_DIR : S_ISLNK(info.st_mode) ? DT_LNK : DT_REG;
    if (type == DT_DIR)
        return Entries::Kind::Folder;
    return type == DT_LNK ? Entries::Kind::Link : Entries::Kind::Other;
}

} // namespace

Entries entriesAt(int folderFd) {
    Entries read;
    eachEntryOf(::fcntl(folderFd, F_DUPFD_CLOEXEC, 0), [&](const dirent& entry, int fd) {
        if (read.names.size() > std::numeric_limits<uint32_t>::max() - 512)
            return;
        read.entries.push_back({static_cast<uint32_t>(read.names.size()), kindAt(entry, fd)});
        read.names.append(entry.d_name, std::strlen(entry.d_name) + 1);
    });
    std::sort(read.entries.begin(), read.entries.end(),
              [&](const Entries::Entry& a, const Entries::Entry& b) {
                  return std::strcmp(read.name(a), read.name(b)) < 0;
              });
    return read;
}

bool isFolder(const std::string& nativePath) {
    struct stat info {};
    return ::stat(nativePath.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace NativeFolder
