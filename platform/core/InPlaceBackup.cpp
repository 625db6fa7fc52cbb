#include "InPlaceBackup.h"

#include "FileDescriptor.h"
#include "FileLock.h"
#include "FolderFlush.h"
#include "RegularFile.h"

#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdint>
#include <optional>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const std::string Magic = "mxmtool in-place backup\n";

int lastError() {
    return errno != 0 ? errno : EIO;
}

// The file's birth time in nanoseconds; 0 where the file system keeps none.
int64_t birthOf(int fd) {
    struct statx info {};
    if (::statx(fd, "", AT_EMPTY_PATH, STATX_BTIME, &info) != 0 ||
        (info.stx_mask & STATX_BTIME) == 0)
        return 0;
    return int64_t{info.stx_btime.tv_sec} * 1'000'000'000 + info.stx_btime.tv_nsec;
}

// What ties a copy to its file, first in the copy; the old length follows.
std::string tieOf(int fd, const struct stat& file) {
    return Magic + std::to_string(file.st_dev) + " " + std::to_string(file.st_ino) + " " +
           std::to_string(birthOf(fd)) + " ";
}

// The old bytes the copy holds for the file; nothing when it is not the
// file's (another file had the inode) or not whole.
std::optional<std::string> oldBytesIn(const std::string& copy, const std::string& tie) {
    const size_t end = copy.find('\n', tie.size());
    if (!copy.starts_with(tie) || end == std::string::npos)
        return std::nullopt;
    size_t size = 0;
    const auto [at, error] = std::from_chars(copy.data() + tie.size(), copy.data() + end, size);
    if (error != std::errc() || at != copy.data() + end || size != copy.size() - end - 1)
        return std::nullopt;
    return copy.substr(end + 1);
}

int writeCopy(int fd, const std::string& head, const std::string& old) {
    errno = 0;
    if (!writeFullyAt(fd, head, 0) || !writeFullyAt(fd, old, int64_t(head.size())) ||
        ::fsync(fd) != 0)
        return lastError();
    return 0;
}

// Names an unnamed copy; ENOENT where there is no /proc to link it from.
int nameUnnamed(int folderFd, int fd, const std::string& name) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    if (::linkat(AT_FDCWD, self.c_str(), folderFd, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return 0;
    // A copy that nobody could restore (its removal failed) gives way.
    if (errno != EEXIST || ::unlinkat(folderFd, name.c_str(), 0) != 0)
        return lastError();
    if (::linkat(AT_FDCWD, self.c_str(), folderFd, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return 0;
    return lastError();
}

int makeNamed(int folderFd, const std::string& name, const std::string& head,
              const std::string& old) {
    const std::string temp = name + ".tmp";
    const FileDescriptor copy(::openat(
        folderFd, temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!copy.valid())
        return lastError();
    int error = writeCopy(copy.get(), head, old);
    if (error == 0 && ::renameat(folderFd, temp.c_str(), folderFd, name.c_str()) != 0)
        error = lastError();
    if (error != 0)
        ::unlinkat(folderFd, temp.c_str(), 0);
    return error;
}

} // namespace

namespace InPlaceBackup {

namespace {

// Restores what a copy holds into the file of that name in the folder
// when it is still the file described, where this process may write it.
void restoreThrough(int folderFd, const std::string& name, const struct stat& file) {
    const FileDescriptor writable(
        ::openat(folderFd, name.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat now {};
    if (writable.valid() && ::fstat(writable.get(), &now) == 0 && now.st_dev == file.st_dev &&
        now.st_ino == file.st_ino && lockWithPatience(writable.get(), LOCK_EX) == 0)
        restoreIfLeft(folderFd, writable.get(), now);
}

} // namespace

std::string nameFor(const struct stat& file) {
    return ".mxmtool-backup-" + std::to_string(file.st_dev) + "-" + std::to_string(file.st_ino);
}

int restoreIfLeft(int folderFd, int fd, const struct stat& file) {
    const std::string name = nameFor(file);
    const FileDescriptor copy(
        ::openat(folderFd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!copy.valid())
        return errno == ENOENT ? 0 : lastError();
    struct stat info {};
    if (::fstat(copy.get(), &info) != 0)
        return lastError();
    if (!S_ISREG(info.st_mode))
        return 0; // not a copy of ours
    const std::optional<std::string> old =
        oldBytesIn(readFullyAt(copy.get(), 0, info.st_size), tieOf(fd, file));
    errno = 0;
    if (old && (!writeFullyAt(fd, *old, 0) || ::ftruncate(fd, off_t(old->size())) != 0 ||
                ::fsync(fd) != 0))
        return lastError();
    return remove(folderFd, file, nullptr);
}

int make(int folderFd, int fd, const struct stat& file, const std::string& oldBytes,
         WriteProbe* probe) {
    if (const int error = probed(probe, WriteStep::Backup))
        return error;
    const std::string name = nameFor(file);
    const std::string head = tieOf(fd, file) + std::to_string(oldBytes.size()) + "\n";
    // Unnamed while it is written where the file system allows it: a copy
    // under its name is always whole.
    const FileDescriptor copy(::openat(folderFd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
    int error = copy.valid() ? writeCopy(copy.get(), head, oldBytes) : ENOENT;
    if (error == 0)
        error = nameUnnamed(folderFd, copy.get(), name);
    if (error == ENOENT)
        error = makeNamed(folderFd, name, head, oldBytes);
    if (error == 0)
        error = probed(probe, WriteStep::FolderFlush);
    return error != 0 ? error : flushFolder(folderFd);
}

int remove(int folderFd, const struct stat& file, WriteProbe* probe) {
    if (const int error = probed(probe, WriteStep::Unbackup))
        return error;
    if (::unlinkat(folderFd, nameFor(file).c_str(), 0) != 0 && errno != ENOENT)
        return lastError();
    if (const int error = probed(probe, WriteStep::FolderFlush))
        return error;
    return flushFolder(folderFd);
}

int prepareRead(int fd, int folderFd, const std::string& name) {
    if (const int error = lockWithPatience(fd, LOCK_SH))
        return error;
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return 0;
    // Opened by path: its folder is the one of the name it was opened by.
    std::string folder, fileName = name;
    if (folderFd < 0) {
        std::string path(PATH_MAX, '\0');
        const ssize_t length =
            ::readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), path.data(), path.size());
        if (length <= 0 || size_t(length) >= path.size())
            return 0; // no folder to look in
        path.resize(size_t(length));
        folder = path.substr(0, path.rfind('/') + 1);
        fileName = path.substr(folder.size());
    }
    struct stat copy {};
    if (::fstatat(folderFd < 0 ? AT_FDCWD : folderFd, (folder + nameFor(info)).c_str(), &copy,
                  AT_SYMLINK_NOFOLLOW) != 0)
        return 0;
    // A crash left a copy: the file is restored through a descriptor of its
    // own, which locks apart from this one.
    ::flock(fd, LOCK_UN);
    const FileDescriptor opened(
        folderFd < 0 ? ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC) : -1);
    restoreThrough(folderFd < 0 ? opened.get() : folderFd, fileName, info);
    return lockWithPatience(fd, LOCK_SH);
}

} // namespace InPlaceBackup
