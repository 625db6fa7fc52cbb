#pragma once

#include "FileIdentity.h"
#include "WriteProbe.h"
#include "WriteResult.h"

#include <optional>
#include <string>

struct stat;

// Writes the bytes into the file of that name in the folder, so that every
// name of it sees them: locked exclusively (saves of one file take turns,
// readers of this program wait), a flushed copy of the old bytes beside it
// first (see InPlaceBackup), room reserved without growing the file, then
// written, cut to length and flushed, and the copy removed. A failure
// before the copy is removed leaves the file's content and length as they
// were. The file must still be old (the same device and inode) and, when
// one is expected, have that identity right before the first byte changes;
// otherwise nothing is written.
WriteResult writeInPlace(int folderFd, const std::string& name, const struct stat& old,
                         const std::string& bytes, const std::optional<FileIdentity>& expected,
                         WriteProbe* probe);
