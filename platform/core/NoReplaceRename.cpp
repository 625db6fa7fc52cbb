#include "NoReplaceRename.h"

#include <cerrno>

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

int renameWithoutReplacing(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    return errno == EINVAL || errno == ENOSYS ? renameByLinking(from, to) : errno;
}

int renameByLinking(const std::string& from, const std::string& to) {
    if (::link(from.c_str(), to.c_str()) != 0)
        return errno;
    // Both names lead to the file now: removing the old one loses nothing.
    return ::unlink(from.c_str()) == 0 ? 0 : errno;
}
