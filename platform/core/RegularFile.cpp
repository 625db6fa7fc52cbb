#include "RegularFile.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

int openRegularFile(const std::string& nativePath, int flags) {
    // The type is looked at before opening, so that no device is opened at
    // all, and again on the descriptor, in case the name changed in between;
    // O_NONBLOCK keeps that second open from waiting on a FIFO.
    struct stat info {};
    if (::stat(nativePath.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return -1;
    const int fd = ::open(nativePath.c_str(), flags | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return -1;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// As openRegularFile, the type is looked at before opening and again on the
// descriptor.
int openRegularFileAt(int folderFd, const std::string& name, int flags, std::string& whyNot) {
    struct stat info {};
    if (::fstatat(folderFd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
        !S_ISREG(info.st_mode) && !S_ISLNK(info.st_mode)) {
        whyNot = "it is not a regular file";
        return -1;
    }
    const int fd = ::openat(folderFd, name.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        whyNot = errno == ELOOP ? "it is a link" : std::strerror(errno);
        return -1;
    }
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        whyNot = S_ISREG(info.st_mode) ? std::strerror(errno) : "it is not a regular file";
        ::close(fd);
        return -1;
    }
    return fd;
}

namespace {

// Runs transfer(done) until size bytes are done, going on after interrupted
// and partial transfers; the number done, fewer when a transfer fails or
// moves nothing.
template <class Transfer> size_t transferFully(size_t size, const Transfer& transfer) {
    size_t done = 0;
    while (done < size) {
        const ssize_t n = transfer(done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<size_t>(n);
    }
    return done;
}

} // namespace

std::string readFullyAt(int fd, int64_t offset, int64_t count) {
    std::string bytes(static_cast<size_t>(count), '\0');
    bytes.resize(transferFully(bytes.size(), [&](size_t done) {
        return ::pread(fd, bytes.data() + done, bytes.size() - done, offset + off_t(done));
    }));
    return bytes;
}

bool writeFullyAt(int fd, const std::string& bytes, int64_t offset) {
    return transferFully(bytes.size(), [&](size_t done) {
               return ::pwrite(fd, bytes.data() + done, bytes.size() - done, offset + off_t(done));
           }) == bytes.size();
}
