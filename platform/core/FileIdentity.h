#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct stat;

// What tells one state of a file from another: the file (device, inode)
// and its size and times as the system keeps them. A save made meanwhile,
// in place or by a new file renamed over the name, changes at least one.
struct FileIdentity {
    uint64_t device = 0, inode = 0;
    int64_t size = 0;
    int64_t modifiedNs = 0, changedNs = 0;
    bool operator==(const FileIdentity&) const = default;
};

FileIdentity identityOf(const struct stat& info);
// The open file's identity now; nothing when the system cannot tell.
std::optional<FileIdentity> identityOf(int fd);
// The identity of the file at the native path, links followed.
std::optional<FileIdentity> identityAt(const std::string& nativePath);
