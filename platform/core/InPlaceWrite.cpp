#include "InPlaceWrite.h"

#include "FileDescriptor.h"
#include "FileLock.h"
#include "InPlaceBackup.h"
#include "RegularFile.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr mode_t SetIdBits = S_ISUID | S_ISGID;

int lastError() {
    return errno != 0 ? errno : EIO;
}

// Room for the new bytes, so that a full disk fails before any byte
// changes; the length stays. A file system that cannot reserve is written
// all the same. What a failed reservation took past the end (ext4 keeps
// it) is given back.
int reserve(int fd, off_t oldSize, off_t size, WriteProbe* probe) {
    if (const int error = probed(probe, WriteStep::Reserve))
        return error;
    if (size == 0 || ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, size) == 0)
        return 0;
    const int error = errno;
    if (error == EOPNOTSUPP || error == ENOSYS)
        return 0;
    if (size > oldSize)
        ::ftruncate(fd, oldSize);
    return error != 0 ? error : EIO;
}

// The set-ID bits go, since the content is not the one they were granted to.
int replaceBytes(int fd, const std::string& bytes, mode_t mode, WriteProbe* probe) {
    errno = 0;
    if (const int error = probed(probe, WriteStep::Write))
        return error;
    if (!writeFullyAt(fd, bytes, 0))
        return lastError();
    if (const int error = probed(probe, WriteStep::Truncate))
        return error;
    if (::ftruncate(fd, off_t(bytes.size())) != 0)
        return lastError();
    if ((mode & SetIdBits) != 0 && ::fchmod(fd, mode & 07777 & ~SetIdBits) != 0)
        return lastError();
    if (const int error = probed(probe, WriteStep::Flush))
        return error;
    return ::fsync(fd) == 0 ? 0 : lastError();
}

// The old bytes back, length included; where that fails too, the copy
// stays for the next open or save to restore.
WriteResult undo(int folderFd, int fd, const struct stat& file, const std::string& old, int error) {
    if (writeFullyAt(fd, old, 0) && ::ftruncate(fd, off_t(old.size())) == 0 && ::fsync(fd) == 0)
        InPlaceBackup::remove(folderFd, file, nullptr);
    return WriteResult::failed(error);
}

} // namespace

WriteResult writeInPlace(int folderFd, const std::string& name, const struct stat& old,
                         const std::string& bytes, const std::optional<FileIdentity>& expected,
                         WriteProbe* probe) {
    const FileDescriptor fd(
        ::openat(folderFd, name.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!fd.valid())
        return WriteResult::failed(lastError());
    if (const int error = lockWithPatience(fd.get(), LOCK_EX))
        return WriteResult::failed(error);
    struct stat file {};
    if (::fstat(fd.get(), &file) != 0)
        return WriteResult::failed(lastError());
    if (!S_ISREG(file.st_mode) || file.st_dev != old.st_dev || file.st_ino != old.st_ino)
        return expected ? WriteResult::changed() : WriteResult::failed(EAGAIN);
    // What a crashed save left comes back first: the file as this one reads it.
    if (const int error = InPlaceBackup::restoreIfLeft(folderFd, fd.get(), file))
        return WriteResult::failed(error);
    if (::fstat(fd.get(), &file) != 0)
        return WriteResult::failed(lastError());
    if (expected && identityOf(file) != *expected)
        return WriteResult::changed();
    errno = 0;
    const std::string oldBytes = readFullyAt(fd.get(), 0, file.st_size);
    if (oldBytes.size() != size_t(file.st_size))
        return WriteResult::failed(lastError());
    if (const int error = InPlaceBackup::make(folderFd, fd.get(), file, oldBytes, probe)) {
        InPlaceBackup::remove(folderFd, file, nullptr);
        return WriteResult::failed(error);
    }
    // Another program may have changed the file meanwhile, without a lock.
    if (expected && identityOf(fd.get()) != expected) {
        InPlaceBackup::remove(folderFd, file, nullptr);
        return WriteResult::changed();
    }
    int error = reserve(fd.get(), file.st_size, off_t(bytes.size()), probe);
    if (error != 0) {
        InPlaceBackup::remove(folderFd, file, nullptr);
        return WriteResult::failed(error);
    }
    if ((error = replaceBytes(fd.get(), bytes, file.st_mode, probe)) != 0)
        return undo(folderFd, fd.get(), file, oldBytes, error);
    const std::optional<FileIdentity> identity = identityOf(fd.get());
    if ((error = InPlaceBackup::remove(folderFd, file, probe)) == 0)
        return WriteResult::written(identity);
    // A copy that stays would take the file back to its old bytes at the
    // next open: better now, as the failure says. Once it is gone, the new
    // content stands although its removal may not be durable yet.
    struct stat copy {};
    if (::fstatat(folderFd, InPlaceBackup::nameFor(file).c_str(), &copy, AT_SYMLINK_NOFOLLOW) == 0)
        return undo(folderFd, fd.get(), file, oldBytes, error);
    return WriteResult::failed(error, identity);
}
