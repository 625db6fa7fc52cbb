#include "FileAccess.h"

#include <cerrno>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string systemReason(int error) {
    if (error == EACCES || error == EPERM)
        return "you have no permission to read it";
    return std::string("it cannot be read (") + std::strerror(error) + ")";
}

} // namespace

std::string WhyNotReadable(const FolderItem& file) {
    const char* path = file.NativePath().c_str();
    struct stat link {};
    if (::lstat(path, &link) != 0)
        return errno == ENOENT || errno == ENOTDIR ? "it does not exist" : systemReason(errno);
    struct stat info {};
    if (::stat(path, &info) != 0) {
        if (S_ISLNK(link.st_mode) && (errno == ENOENT || errno == ENOTDIR))
            return "it is a link to a file that does not exist";
        return systemReason(errno);
    }
    if (S_ISDIR(info.st_mode))
        return "it is a folder";
    if (!S_ISREG(info.st_mode))
        return "it is not a regular file";
    if (::access(path, R_OK) != 0)
        return systemReason(errno);
    return {};
}
