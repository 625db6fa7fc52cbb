#include "FileLock.h"

#include <cerrno>
#include <chrono>
#include <thread>

#include <sys/file.h>

namespace {

constexpr int LockPollMs = 1;

} // namespace

int lockWithPatience(int fd, int operation) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(LockPatienceMs);
    while (std::chrono::steady_clock::now() < end) {
        if (::flock(fd, operation | LOCK_NB) == 0)
            return 0;
        // A file system without such locks (some network and user-space
        // ones) is read and written without them.
        if (errno == ENOLCK || errno == EOPNOTSUPP || errno == EINVAL || errno == ENOSYS)
            return 0;
        if (errno != EWOULDBLOCK && errno != EINTR)
            return errno;
        std::this_thread::sleep_for(std::chrono::milliseconds(LockPollMs));
    }
    return EWOULDBLOCK;
}
