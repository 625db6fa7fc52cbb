#pragma once

#include <string>
#include <vector>

// The few direct file-system queries that several framework classes share.
namespace NativeFolder {

// An entry of a folder as one listing saw it. Links are followed: a link to
// a folder is a folder, and a link whose target is gone is neither a folder
// nor existing.
struct Entry {
    std::string name;
    bool directory = false;
    bool exists = false;
};

// The names in the folder, sorted bytewise, without "." and ".."; empty when
// the folder cannot be read or lies on one of the kernel's pseudo file
// systems (see KernelFileSystems).
std::vector<std::string> entries(const std::string& nativePath);

// The same entries with what each one is, sorted bytewise by name.
std::vector<Entry> typedEntries(const std::string& nativePath);

// Whether the path names a folder, following links.
bool isFolder(const std::string& nativePath);

} // namespace NativeFolder
