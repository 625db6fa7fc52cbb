#pragma once

#include "WriteProbe.h"

#include <string>

struct stat;

// The copy of a file's old bytes that an in-place save keeps beside it,
// flushed and named before the first byte changes and removed once the new
// bytes are flushed: after a crash in between, the next save or open of the
// file finds it and writes the old bytes back in place, so that every name
// of the file sees its old content again. The copy is named after the
// file's device and inode (".mxmtool-backup-DEV-INODE", hidden and no
// material) and holds them with the file's birth time, so that it is never
// written into another file that got the inode later: such a copy is
// removed. All but prepareRead run with the file (fd, open for writing,
// described by file) locked exclusively (see FileLock).
namespace InPlaceBackup {

std::string nameFor(const struct stat& file);
// Writes a copy found in the folder back into the file and removes it; 0
// when done or when there was none, or the error.
int restoreIfLeft(int folderFd, int fd, const struct stat& file);
// Makes the flushed copy of the old bytes under its name; 0 or the error.
int make(int folderFd, int fd, const struct stat& file, const std::string& oldBytes,
         WriteProbe* probe);
// Removes the copy, durably; 0 or the error.
int remove(int folderFd, const struct stat& file, WriteProbe* probe);
// For a reader: waits for a save in progress (a shared lock, held until
// the file is closed) and restores a copy that a crash left beside the
// name the file was opened by (in the open folder when given, otherwise
// the one the system names for the descriptor), at the cost of one look in
// that folder. 0, or the error when the lock could not be had.
int prepareRead(int fd, int folderFd = -1, const std::string& name = {});

} // namespace InPlaceBackup
