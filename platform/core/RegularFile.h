#pragma once

#include <cstdint>
#include <string>

// Regular files through their descriptors.

// Opens a regular file with the flags (O_RDONLY or O_RDWR, O_CLOEXEC added)
// and returns its descriptor, or -1. Anything else (a FIFO, a device, a
// socket, a folder) is refused without waiting: opening a FIFO for reading
// would block until some other program opens it for writing.
int openRegularFile(const std::string& nativePath, int flags);

// The same for the entry of that name in the open folder, never through a
// link. On failure, why, in words that finish the sentence "... could not
// be opened: " ("it is not a regular file", or the system's reason).
int openRegularFileAt(int folderFd, const std::string& name, int flags, std::string& whyNot);

// Reading and writing byte ranges of an open file go on after interrupted
// and partial transfers.

// Up to count bytes at the offset; fewer at the end of the file or when the
// file system fails.
std::string readFullyAt(int fd, int64_t offset, int64_t count);
// Writes every byte at the offset; false when the file system refuses.
bool writeFullyAt(int fd, const std::string& bytes, int64_t offset);
