#include "FileLock.h"

#include <cerrno>
#include <chrono>
#include <thread>

#include <sys/file.h>

namespace {

constexpr int LockPollMs = 1;

} // namespace

int lockWithPatience(int fd, int operation) {
    for (int wait = 0; wait < LockPatienceMs; wait += LockPollMs) {
        if (::flock(fd, operation | LOCK_NB) == 0)
            return 0;
        if (errno != EWOULDBLOCK && errno != EINTR)
            return errno;
        std::this_thread::sleep_for(std::chrono::milliseconds(LockPollMs));
    }
    return EWOULDBLOCK;
}
