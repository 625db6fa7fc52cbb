#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The few direct file-system queries that several framework classes share.
namespace NativeFolder {

// A folder's entries read in one pass, held compactly for walks over large
// trees: every name sits in one buffer, and the entries are offsets into it.
struct Listing {
    // Each name followed by a zero byte.
    std::string names;
    // Offsets into names, each list sorted bytewise by name.
    std::vector<uint32_t> files;   // existing entries that are no folders
    std::vector<uint32_t> folders; // folders, links to folders included
    std::vector<uint32_t> gone;    // links whose target is gone

    const char* name(uint32_t offset) const { return names.data() + offset; }
};

// Every list below leaves out "." and "..", and is empty when the folder
// cannot be read or lies on one of the kernel's pseudo file systems (see
// KernelFileSystems).

// The names in the folder, sorted bytewise.
std::vector<std::string> entries(const std::string& nativePath);

// The same entries by what each one is, in the compact form. Links are
// followed: a link to a folder is a folder, and a link whose target is gone
// is neither a folder nor a file.
Listing listing(const std::string& nativePath);

// A folder's entries as they stand: no link is followed.
struct Entries {
    enum class Kind : uint8_t { Folder, Link, Other };
    struct Entry {
        uint32_t offset; // into names
        Kind kind;
    };
    // Each name followed by a zero byte.
    std::string names;
    // Sorted bytewise by name.
    std::vector<Entry> entries;

    const char* name(const Entry& entry) const { return names.data() + entry.offset; }
};

// The entries of the open folder (the descriptor stays open).
Entries entriesAt(int folderFd);

// Whether the path names a folder, following links.
bool isFolder(const std::string& nativePath);

} // namespace NativeFolder
