#include "AtomicWrite.h"

#include "FileDescriptor.h"
#include "RegularFile.h"

#include <cerrno>
#include <chrono>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int MaxAttempts = 100;
constexpr int LockPatienceMs = 5000;
constexpr int LockPollMs = 10;
constexpr mode_t SetIdBits = S_ISUID | S_ISGID;

struct Target {
    int folder; // every step names files relative to it
    std::string name;
    std::optional<struct stat> old; // the file as it stands; none when missing
    std::optional<FileIdentity> expected;
};

// A new file holding the bytes, or why there is none: error 0 with no file
// means the way was not open here and another may be tried.
struct NewFile {
    FileDescriptor fd;
    int error = 0;
};

// The error of the call that just failed; never 0.
int lastError() {
    return errno != 0 ? errno : EIO;
}

std::string temporaryName(const std::string& name) {
    // One name per target, so that the next save finds what a crash left.
    std::string temporary = ".";
    temporary.append(name, 0, 200);
    return temporary + ".mxmtool-tmp";
}

bool isOneComponent(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Whether the name in the folder still names the open file.
bool namesFile(int folder, const std::string& name, int fd) {
    struct stat named {
    }, open{};
    return ::fstatat(folder, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
           ::fstat(fd, &open) == 0 && sameFile(named, open);
}

// Whether the name still names the file as expected, looked at on the file
// itself; true when nothing is expected.
bool stillAsExpected(const Target& target) {
    if (!target.expected)
        return true;
    const FileDescriptor fd(
        ::openat(target.folder, target.name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    return fd.valid() && identityOf(fd.get()) == target.expected;
}

// 0 when the lock could be had in a few seconds: another save of the same
// file ends long before, and one that hangs must not hang this one too.
int lockSoon(int fd) {
    for (int wait = 0; wait < LockPatienceMs; wait += LockPollMs) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            return 0;
        if (errno != EWOULDBLOCK && errno != EINTR)
            return lastError();
        std::this_thread::sleep_for(std::chrono::milliseconds(LockPollMs));
    }
    return EWOULDBLOCK;
}

// Waits while another save holds the temporary file of that name, then
// removes it when nobody does (a crash left it). Another save that
// finished meanwhile has renamed it away, which the check after the lock
// sees. The error when the other save holds on too long.
int removeWhenAbandoned(int folder, const std::string& name) {
    const FileDescriptor fd(
        ::openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!fd.valid())
        return errno == ENOENT ? 0 : lastError();
    const int error = lockSoon(fd.get());
    if (error == 0 && namesFile(folder, name, fd.get()))
        ::unlinkat(folder, name.c_str(), 0);
    return error;
}

// The new file's owner, group and permissions follow the old file's; the
// set-ID bits are dropped, since the content is not the one they were
// granted to.
bool takeOverAttributes(int fd, const Target& target) {
    if (!target.old)
        return true;
    const struct stat& old = *target.old;
    if (::fchown(fd, old.st_uid, old.st_gid) != 0)
        ::fchown(fd, static_cast<uid_t>(-1), old.st_gid); // the group alone, where allowed
    return ::fchmod(fd, old.st_mode & 07777 & ~SetIdBits) == 0;
}

int writeAndFlush(int fd, const std::string& bytes, const Target& target) {
    errno = 0;
    if (!writeFullyAt(fd, bytes, 0) || !takeOverAttributes(fd, target) || ::fsync(fd) != 0)
        return lastError();
    return 0;
}

// A new file without a name, linked in under the temporary name once it
// holds everything, locked.
NewFile writeUnnamed(const Target& target, const std::string& temp, const std::string& bytes) {
    NewFile file{
        FileDescriptor(::openat(target.folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666))};
    if (!file.fd.valid())
        return {};
    // Locked before it gets a name, so that no other save takes it for
    // abandoned.
    file.error = writeAndFlush(file.fd.get(), bytes, target);
    if (file.error == 0 && ::flock(file.fd.get(), LOCK_EX) != 0)
        file.error = lastError();
    const std::string self = "/proc/self/fd/" + std::to_string(file.fd.get());
    for (int attempt = 1; file.error == 0; ++attempt) {
        if (::linkat(AT_FDCWD, self.c_str(), target.folder, temp.c_str(), AT_SYMLINK_FOLLOW) == 0)
            return file;
        if (errno != EEXIST)
            return {}; // no linking here (no /proc): the named way may still work
        file.error = attempt == MaxAttempts ? EEXIST : removeWhenAbandoned(target.folder, temp);
    }
    file.fd.reset();
    return file;
}

// A new file under the temporary name, locked, holding everything.
NewFile writeNamed(const Target& target, const std::string& temp, const std::string& bytes) {
    for (int attempt = 0; attempt < MaxAttempts; ++attempt) {
        FileDescriptor fd(::openat(target.folder, temp.c_str(),
                                   O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
        if (!fd.valid() && errno != EEXIST)
            return {{}, lastError()};
        if (!fd.valid()) {
            if (const int error = removeWhenAbandoned(target.folder, temp))
                return {{}, error};
            continue;
        }
        // Another save may have taken the new name for abandoned before the
        // lock was held; then this one starts again.
        if (::flock(fd.get(), LOCK_EX | LOCK_NB) == 0 && namesFile(target.folder, temp, fd.get())) {
            const int error = writeAndFlush(fd.get(), bytes, target);
            if (error == 0)
                return {std::move(fd), 0};
            ::unlinkat(target.folder, temp.c_str(), 0);
            return {{}, error};
        }
    }
    return {{}, EEXIST};
}

// The new content under a new file renamed over the old one; refused tells
// whether the folder took no new file.
WriteResult replaceByRename(const Target& target, const std::string& bytes, bool& refused) {
    const std::string temp = temporaryName(target.name);
    NewFile file = writeUnnamed(target, temp, bytes);
    if (!file.fd.valid() && file.error == 0)
        file = writeNamed(target, temp, bytes);
    if (!file.fd.valid()) {
        refused = file.error == EACCES || file.error == EPERM;
        return WriteResult::failed(file.error);
    }
    // The lock on the new file guards the temporary name until it is gone.
    if (!stillAsExpected(target)) {
        ::unlinkat(target.folder, temp.c_str(), 0);
        return WriteResult::changed();
    }
    if (::renameat(target.folder, temp.c_str(), target.folder, target.name.c_str()) != 0) {
        const int error = lastError();
        ::unlinkat(target.folder, temp.c_str(), 0);
        return WriteResult::failed(error);
    }
    // The new name must survive a crash as well as the new content.
    ::fsync(target.folder);
    return WriteResult::written(identityOf(file.fd.get()));
}

// The new content written into the file itself, so that every name of it
// sees it.
WriteResult writeInPlace(const Target& target, const std::string& bytes) {
    const FileDescriptor fd(::openat(target.folder, target.name.c_str(),
                                     O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!fd.valid())
        return WriteResult::failed(lastError());
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0)
        return WriteResult::failed(lastError());
    if (target.expected && identityOf(info) != target.expected)
        return WriteResult::changed();
    if (!S_ISREG(info.st_mode) || !sameFile(info, *target.old))
        return WriteResult::failed(EAGAIN); // replaced since it was looked at
    const auto size = static_cast<off_t>(bytes.size());
    // The space first, so that a full disk fails before any byte changes;
    // a file system that cannot reserve is written all the same.
    const int reserved = size > 0 ? ::posix_fallocate(fd.get(), 0, size) : 0;
    if (reserved != 0 && reserved != EOPNOTSUPP && reserved != EINVAL)
        return WriteResult::failed(reserved);
    errno = 0;
    if (!writeFullyAt(fd.get(), bytes, 0) || ::ftruncate(fd.get(), size) != 0)
        return WriteResult::failed(lastError());
    const mode_t mode = target.old->st_mode;
    if ((mode & SetIdBits) != 0 && ::fchmod(fd.get(), mode & 07777 & ~SetIdBits) != 0)
        return WriteResult::failed(lastError());
    if (::fsync(fd.get()) != 0)
        return WriteResult::failed(lastError());
    return WriteResult::written(identityOf(fd.get()));
}

} // namespace

WriteResult replaceFileContent(const std::string& nativePath, const std::string& bytes,
                               const std::optional<FileIdentity>& expected) {
    const size_t slash = nativePath.rfind('/');
    if (slash == std::string::npos || slash + 1 == nativePath.size())
        return WriteResult::failed(EINVAL);
    const std::string folderPath = slash == 0 ? "/" : nativePath.substr(0, slash);
    FileDescriptor folder(::open(folderPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    // A folder that may be searched but not read still takes files.
    if (!folder.valid())
        folder.reset(::open(folderPath.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!folder.valid())
        return WriteResult::failed(lastError());
    return replaceFileContentAt(folder.get(), nativePath.substr(slash + 1), bytes, expected);
}

WriteResult replaceFileContentAt(int folderFd, const std::string& name, const std::string& bytes,
                                 const std::optional<FileIdentity>& expected) {
    if (!isOneComponent(name))
        return WriteResult::failed(EINVAL);
    Target target{folderFd, name, std::nullopt, expected};
    struct stat info {};
    if (::fstatat(folderFd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) {
        // A folder is never replaced, and a write-protected file stays protected.
        if (!S_ISREG(info.st_mode))
            return WriteResult::failed(S_ISDIR(info.st_mode)   ? EISDIR
                                       : S_ISLNK(info.st_mode) ? ELOOP
                                                               : EINVAL);
        if (::faccessat(folderFd, name.c_str(), W_OK, 0) != 0)
            return WriteResult::failed(lastError());
        target.old = info;
    } else if (errno != ENOENT) {
        return WriteResult::failed(lastError());
    }
    if (expected && (!target.old || identityOf(*target.old) != *expected))
        return WriteResult::changed();
    if (target.old && target.old->st_nlink > 1)
        return writeInPlace(target, bytes);
    bool refused = false;
    WriteResult result = replaceByRename(target, bytes, refused);
    if (!result.ok() && refused && target.old)
        return writeInPlace(target, bytes);
    return result;
}
