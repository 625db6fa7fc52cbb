#include "AtomicWrite.h"

#include "RegularFile.h"

#include <cerrno>
#include <chrono>
#include <optional>
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

// A folder held open, so that every step names files relative to the same
// folder even if its path changes meanwhile.
class Folder {
  public:
    explicit Folder(const std::string& path) {
        fd_ = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        // A folder that may be searched but not read still takes files.
        if (fd_ < 0)
            fd_ = ::open(path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    }
    ~Folder() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;
    int fd() const { return fd_; }

  private:
    int fd_ = -1;
};

struct Target {
    std::string folder, name;
    std::optional<struct stat> old; // the file as it stands; none when missing
};

std::string temporaryName(const std::string& name) {
    // One name per target, so that the next save finds what a crash left.
    std::string temporary = ".";
    temporary.append(name, 0, 200);
    return temporary + ".mxmtool-tmp";
}

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Whether the name in the folder still names the open file.
bool namesFile(const Folder& folder, const std::string& name, int fd) {
    struct stat named {
    }, open{};
    return ::fstatat(folder.fd(), name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
           ::fstat(fd, &open) == 0 && sameFile(named, open);
}

// Whether the lock could be had in a few seconds: another save of the same
// file ends long before, and one that hangs must not hang this one too.
bool lockSoon(int fd) {
    for (int wait = 0; wait < LockPatienceMs; wait += LockPollMs) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            return true;
        if (errno != EWOULDBLOCK && errno != EINTR)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(LockPollMs));
    }
    return false;
}

// Waits while another save holds the temporary file of that name, then
// removes it when nobody does (a crash left it). Another save that
// finished meanwhile has renamed it away, which the check after the lock
// sees. false when the other save holds on too long.
bool removeWhenAbandoned(const Folder& folder, const std::string& name) {
    const int fd =
        ::openat(folder.fd(), name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT;
    const bool locked = lockSoon(fd);
    if (locked && namesFile(folder, name, fd))
        ::unlinkat(folder.fd(), name.c_str(), 0);
    ::close(fd);
    return locked;
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

bool writeAndFlush(int fd, const std::string& bytes, const Target& target) {
    return writeFullyAt(fd, bytes, 0) && takeOverAttributes(fd, target) && ::fsync(fd) == 0;
}

// A new file without a name, linked in under the temporary name once it
// holds everything, locked. -1 when that cannot be done; failed then tells
// whether a named file would fare no better (the write failed, or another
// save held the name too long), and otherwise errno says why.
int writeUnnamed(const Folder& folder, const Target& target, const std::string& temp,
                 const std::string& bytes, bool& failed) {
    const int fd = ::openat(folder.fd(), ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0)
        return -1;
    // Locked before it gets a name, so that no other save takes it for
    // abandoned.
    failed = !writeAndFlush(fd, bytes, target) || ::flock(fd, LOCK_EX) != 0;
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 1; !failed; ++attempt) {
        if (::linkat(AT_FDCWD, self.c_str(), folder.fd(), temp.c_str(), AT_SYMLINK_FOLLOW) == 0)
            return fd;
        if (errno != EEXIST)
            break; // no linking here (no /proc): the named way may still work
        failed = attempt == MaxAttempts || !removeWhenAbandoned(folder, temp);
    }
    ::close(fd);
    return -1;
}

// A new file under the temporary name, locked, holding everything; -1 when
// the folder does not take it (errno set).
int writeNamed(const Folder& folder, const Target& target, const std::string& temp,
               const std::string& bytes) {
    for (int attempt = 0; attempt < MaxAttempts; ++attempt) {
        const int fd = ::openat(folder.fd(), temp.c_str(),
                                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return -1;
        if (fd < 0) {
            if (!removeWhenAbandoned(folder, temp))
                return -1;
            continue;
        }
        // Another save may have taken the new name for abandoned before the
        // lock was held; then this one starts again.
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && namesFile(folder, temp, fd)) {
            if (writeAndFlush(fd, bytes, target))
                return fd;
            ::unlinkat(folder.fd(), temp.c_str(), 0);
            ::close(fd);
            errno = EIO;
            return -1;
        }
        ::close(fd);
    }
    errno = EAGAIN;
    return -1;
}

// The new content under a new file renamed over the old one. false when
// it could not be done; refused tells whether the folder took no new file.
bool replaceByRename(const Target& target, const std::string& bytes, bool& refused) {
    const Folder folder(target.folder);
    if (folder.fd() < 0)
        return false;
    const std::string temp = temporaryName(target.name);
    bool failed = false;
    int fd = writeUnnamed(folder, target, temp, bytes, failed);
    if (fd < 0 && !failed)
        fd = writeNamed(folder, target, temp, bytes);
    if (fd < 0) {
        refused = errno == EACCES || errno == EPERM;
        return false;
    }
    const bool renamed =
        ::renameat(folder.fd(), temp.c_str(), folder.fd(), target.name.c_str()) == 0;
    if (!renamed)
        ::unlinkat(folder.fd(), temp.c_str(), 0);
    ::close(fd); // after the rename: the lock guards the temporary name
    // The new name must survive a crash as well as the new content.
    if (renamed)
        ::fsync(folder.fd());
    return renamed;
}

// The new content written into the file itself, so that every name of it
// sees it.
bool writeInPlace(const std::string& path, const struct stat& old, const std::string& bytes) {
    const int fd = openRegularFile(path, O_WRONLY);
    if (fd < 0)
        return false;
    struct stat info {};
    const auto size = static_cast<off_t>(bytes.size());
    bool ok = ::fstat(fd, &info) == 0 && sameFile(info, old);
    // The space first, so that a full disk fails before any byte changes;
    // a file system that cannot reserve is written all the same.
    const int reserved = ok && size > 0 ? ::posix_fallocate(fd, 0, size) : 0;
    ok = ok && (reserved == 0 || reserved == EOPNOTSUPP || reserved == EINVAL);
    ok = ok && writeFullyAt(fd, bytes, 0) && ::ftruncate(fd, size) == 0;
    ok = ok &&
         ((old.st_mode & SetIdBits) == 0 || ::fchmod(fd, old.st_mode & 07777 & ~SetIdBits) == 0);
    ok = ok && ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
}

} // namespace

bool replaceFileContent(const std::string& nativePath, const std::string& bytes) {
    const size_t slash = nativePath.rfind('/');
    if (slash == std::string::npos || slash + 1 == nativePath.size())
        return false;
    Target target{slash == 0 ? "/" : nativePath.substr(0, slash), nativePath.substr(slash + 1),
                  std::nullopt};
    struct stat info {};
    if (::lstat(nativePath.c_str(), &info) == 0) {
        // A folder is never replaced, and a write-protected file stays protected.
        if (!S_ISREG(info.st_mode) || ::access(nativePath.c_str(), W_OK) != 0)
            return false;
        target.old = info;
    }
    if (target.old && target.old->st_nlink > 1)
        return writeInPlace(nativePath, *target.old, bytes);
    bool refused = false;
    if (replaceByRename(target, bytes, refused))
        return true;
    return target.old && refused && writeInPlace(nativePath, *target.old, bytes);
}
