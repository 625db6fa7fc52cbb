#include "AtomicWrite.h"

#include "AttributeCopy.h"
#include "FileDescriptor.h"
#include "FileLock.h"
#include "FolderFlush.h"
#include "InPlaceWrite.h"
#include "RegularFile.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int MaxAttempts = 100;
constexpr mode_t SetIdBits = S_ISUID | S_ISGID;

struct Target {
    int folder; // every step names files relative to it
    std::string name;
    std::optional<struct stat> old; // the file as it stands; none when missing
    std::optional<FileIdentity> expected;
    WriteProbe* probe;
};

// A new file holding the bytes, or why there is none: error 0 with no file
// means the way was not open here and another may be tried; unkept, that
// the new file could not carry the old one's owner, group or attributes.
struct NewFile {
    FileDescriptor fd;
    int error = 0;
    bool unkept = false;
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

// Waits while another save holds the temporary file of that name, then
// removes it when nobody does (a crash left it). Another save that
// finished meanwhile has renamed it away, which the check after the lock
// sees. The error when the other save holds on too long.
int removeWhenAbandoned(int folder, const std::string& name) {
    const FileDescriptor fd(
        ::openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!fd.valid())
        return errno == ENOENT ? 0 : lastError();
    const int error = lockWithPatience(fd.get(), LOCK_EX);
    if (error == 0 && namesFile(folder, name, fd.get()))
        ::unlinkat(folder, name.c_str(), 0);
    return error;
}

// The new file takes over the old one's owner, group, permissions and
// extended attributes, the set-ID bits dropped, since the content is not
// the one they were granted to. The permissions come after the bytes: a
// named file is made with no more than the owner's.
void takeOverAttributes(NewFile& file, const Target& target) {
    if (!target.old)
        return;
    const struct stat& old = *target.old;
    const int fd = file.fd.get();
    file.unkept = ::fchown(fd, old.st_uid, old.st_gid) != 0;
    if (!file.unkept && ::fchmod(fd, old.st_mode & 07777 & ~SetIdBits) != 0)
        file.error = lastError();
    file.unkept =
        file.unkept || (file.error == 0 && !copyExtendedAttributes(target.folder, target.name, fd));
}

// Writes, takes over and flushes; false when the new file is not to be
// renamed (error or unkept set).
bool writeAndFlush(NewFile& file, const std::string& bytes, const Target& target) {
    errno = 0;
    if ((file.error = probed(target.probe, WriteStep::Write)) != 0)
        return false;
    if (!writeFullyAt(file.fd.get(), bytes, 0)) {
        file.error = lastError();
        return false;
    }
    takeOverAttributes(file, target);
    if (file.error == 0 && !file.unkept && ::fsync(file.fd.get()) != 0)
        file.error = lastError();
    return file.error == 0 && !file.unkept;
}

// A new file without a name, linked in under the temporary name once it
// holds everything, locked.
NewFile writeUnnamed(const Target& target, const std::string& temp, const std::string& bytes) {
    if (probed(target.probe, WriteStep::UnnamedFile) != 0)
        return {};
    NewFile file{
        FileDescriptor(::openat(target.folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666))};
    if (!file.fd.valid())
        return {};
    // Locked before it gets a name, so that no other save takes it for
    // abandoned.
    if (writeAndFlush(file, bytes, target) && ::flock(file.fd.get(), LOCK_EX) != 0)
        file.error = lastError();
    const std::string self = "/proc/self/fd/" + std::to_string(file.fd.get());
    for (int attempt = 1; file.error == 0 && !file.unkept; ++attempt) {
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
    const mode_t mode = target.old ? target.old->st_mode & 0600 : 0666;
    for (int attempt = 0; attempt < MaxAttempts; ++attempt) {
        NewFile file{
            FileDescriptor(::openat(target.folder, temp.c_str(),
                                    O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode))};
        if (!file.fd.valid() && errno != EEXIST)
            return {{}, lastError()};
        if (!file.fd.valid()) {
            if (const int error = removeWhenAbandoned(target.folder, temp))
                return {{}, error};
            continue;
        }
        // Another save may have taken the new name for abandoned before the
        // lock was held; then this one starts again.
        if (::flock(file.fd.get(), LOCK_EX | LOCK_NB) == 0 &&
            namesFile(target.folder, temp, file.fd.get())) {
            if (!writeAndFlush(file, bytes, target)) {
                ::unlinkat(target.folder, temp.c_str(), 0);
                file.fd.reset();
            }
            return file;
        }
    }
    return {{}, EEXIST};
}

// The new content under a new file renamed over the old one; refused tells
// whether the old file is to be written in place instead.
WriteResult replaceByRename(const Target& target, const std::string& bytes, bool& refused) {
    const std::string temp = temporaryName(target.name);
    NewFile file = writeUnnamed(target, temp, bytes);
    if (!file.fd.valid() && file.error == 0 && !file.unkept)
        file = writeNamed(target, temp, bytes);
    refused = file.unkept;
    if (!file.fd.valid())
        return WriteResult::failed(file.error);
    // The lock on the new file guards the temporary name until it is gone.
    if (!stillAsExpected(target)) {
        ::unlinkat(target.folder, temp.c_str(), 0);
        return WriteResult::changed();
    }
    int error = probed(target.probe, WriteStep::Rename);
    if (error == 0 &&
        ::renameat(target.folder, temp.c_str(), target.folder, target.name.c_str()) != 0)
        error = lastError();
    if (error != 0) {
        ::unlinkat(target.folder, temp.c_str(), 0);
        refused = error == EPERM || error == EBUSY;
        return WriteResult::failed(error);
    }
    // The new name must survive a crash as well as the new content; when
    // it may not, the new content stands all the same.
    const std::optional<FileIdentity> identity = identityOf(file.fd.get());
    error = probed(target.probe, WriteStep::FolderFlush);
    if (error == 0)
        error = flushFolder(target.folder);
    return error == 0 ? WriteResult::written(identity) : WriteResult::failed(error, identity);
}

// The file as it stands, when it may be replaced: a folder is never
// replaced, and a write-protected file stays protected. 0 or the error.
int lookAtOld(Target& target) {
    struct stat info {};
    if (::fstatat(target.folder, target.name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT ? 0 : lastError();
    if (S_ISDIR(info.st_mode))
        return EISDIR;
    if (S_ISLNK(info.st_mode))
        return ELOOP;
    if (!S_ISREG(info.st_mode))
        return EINVAL;
    if (::faccessat(target.folder, target.name.c_str(), W_OK, 0) != 0)
        return lastError();
    target.old = info;
    return 0;
}

} // namespace

WriteResult replaceFileContent(const std::string& nativePath, const std::string& bytes,
                               const std::optional<FileIdentity>& expected, WriteProbe* probe) {
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
    return replaceFileContentAt(folder.get(), nativePath.substr(slash + 1), bytes, expected, probe);
}

WriteResult replaceFileContentAt(int folderFd, const std::string& name, const std::string& bytes,
                                 const std::optional<FileIdentity>& expected, WriteProbe* probe) {
    if (!isOneComponent(name))
        return WriteResult::failed(EINVAL);
    Target target{folderFd, name, std::nullopt, expected, probe};
    if (const int error = lookAtOld(target))
        return WriteResult::failed(error);
    if (expected && (!target.old || identityOf(*target.old) != *expected))
        return WriteResult::changed();
    if (target.old && target.old->st_nlink > 1)
        return writeInPlace(folderFd, name, *target.old, bytes, expected, probe);
    bool refused = false;
    WriteResult result = replaceByRename(target, bytes, refused);
    if (refused && target.old)
        return writeInPlace(folderFd, name, *target.old, bytes, expected, probe);
    return result;
}
