#include "RegularFile.h"

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
