#include "AttributeCopy.h"

#include "FileDescriptor.h"

#include <cerrno>
#include <optional>

#include <fcntl.h>
#include <sys/xattr.h>

namespace {

// The attribute list or a value, read at the size asked for first; the
// size may grow in between.
template <class Read> std::optional<std::string> readSized(const Read& read) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        const ssize_t size = read(nullptr, 0);
        if (size < 0)
            return std::nullopt;
        std::string bytes(size_t(size), '\0');
        const ssize_t got = read(bytes.data(), bytes.size());
        if (got >= 0) {
            bytes.resize(size_t(got));
            return bytes;
        }
        if (errno != ERANGE)
            return std::nullopt;
    }
    return std::nullopt;
}

} // namespace

bool copyExtendedAttributes(int folderFd, const std::string& name, int toFd) {
    // Read through the descriptor's own path, so that a file this process
    // may not read still shows its attributes.
    const FileDescriptor from(::openat(folderFd, name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    if (!from.valid())
        return errno == ENOENT;
    const std::string path = "/proc/self/fd/" + std::to_string(from.get());
    const std::optional<std::string> names =
        readSized([&](char* list, size_t size) { return ::listxattr(path.c_str(), list, size); });
    if (!names)
        return errno == ENOTSUP;
    for (size_t at = 0; at < names->size();) {
        const std::string attribute = names->c_str() + at;
        at += attribute.size() + 1;
        const std::optional<std::string> value = readSized([&](char* bytes, size_t size) {
            return ::getxattr(path.c_str(), attribute.c_str(), bytes, size);
        });
        if (!value || ::fsetxattr(toFd, attribute.c_str(), value->data(), value->size(), 0) != 0)
            return false;
    }
    return true;
}
