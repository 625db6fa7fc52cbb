#pragma once

#include <string>

// Opens a regular file with the flags (O_RDONLY or O_RDWR, O_CLOEXEC added)
// and returns its descriptor, or -1. Anything else (a FIFO, a device, a
// socket, a folder) is refused without waiting: opening a FIFO for reading
// would block until some other program opens it for writing.
int openRegularFile(const std::string& nativePath, int flags);
