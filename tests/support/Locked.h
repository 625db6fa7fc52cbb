#pragma once

#include <string>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

// Makes a folder refuse new files, or a file refuse changes, while it lives:
// write-protected, and immutable for root, who ignores the protection.
// Where the file system has no immutable flag, root can still write:
// tests probe that and skip.
struct Locked {
    explicit Locked(std::string item) : path(std::move(item)) { lock(true); }
    ~Locked() { lock(false); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;

    void lock(bool on) const {
        const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
        struct stat info {};
        ::fstat(fd, &info);
        const mode_t writable = S_ISDIR(info.st_mode) ? 0755 : 0644;
        ::fchmod(fd, on ? writable & 0555 : writable); // before the flag, which forbids it
        int flags = 0;
        ::ioctl(fd, FS_IOC_GETFLAGS, &flags);
        flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
        ::close(fd);
    }
    const std::string path;
};
