#include "FileBytes.h"

#include <cerrno>

#include <unistd.h>

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
