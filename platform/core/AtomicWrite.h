#pragma once

#include "FileIdentity.h"
#include "WriteResult.h"

#include <optional>
#include <string>

// Replaces the content of the regular file at the native path (made when
// missing) so that a crash at any moment leaves either the old content or
// the new one, never a mixture:
// - the bytes go to a new file in the same folder, which keeps the old
//   file's owner and group where the system permits and its permissions
//   without the set-user-ID and set-group-ID bits; it is written, checked,
//   flushed, and then renamed over the old file;
// - a file with more than one name (hard links), or in a folder that takes
//   no new file, is written in place instead, so that every name sees the
//   new content: the space is reserved first, so that a full disk fails
//   before any byte changes;
// - the new file has no name while it is written where the file system
//   allows it; otherwise, and for the moment between naming it and the
//   rename, it is ".NAME.mxmtool-tmp", locked while in use; a save that
//   finds one nobody holds (left by a crash) removes it, and one that finds
//   it held waits a few seconds for that other save, then fails.
// With an expected identity, the file is replaced only while it still has
// it (checked on the file right before the replace): otherwise nothing is
// written and the outcome is Changed. A failure carries the error of the
// system call that failed, with the file unchanged when it comes before the
// rename (or, in place, before the first byte is written). A folder or a
// write-protected file is never replaced. Safe to call from several threads
// at once.
WriteResult replaceFileContent(const std::string& nativePath, const std::string& bytes,
                               const std::optional<FileIdentity>& expected = std::nullopt);
// The same for the entry of that name (one component, never a link) in the
// open folder; nothing outside that folder is looked up.
WriteResult replaceFileContentAt(int folderFd, const std::string& name, const std::string& bytes,
                                 const std::optional<FileIdentity>& expected = std::nullopt);
