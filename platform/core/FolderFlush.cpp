#include "FolderFlush.h"

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

int flushFolder(int folderFd) {
    if (::fsync(folderFd) == 0)
        return 0;
    const int error = errno;
    if (error == EINVAL || (error == EBADF && (::fcntl(folderFd, F_GETFL) & O_PATH) != 0))
        return 0;
    return error;
}
