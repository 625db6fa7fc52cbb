#pragma once

#include "FileIdentity.h"
#include "WriteProbe.h"
#include "WriteResult.h"

#include <optional>
#include <string>

// Replaces the content of the regular file at the native path (made when
// missing) so that a crash at any moment leaves each of its names with
// either the old content or the new one, never a mixture:
// - the bytes go to a new file in the same folder, which takes over the old
//   file's owner, group, permissions (without the set-user-ID and
//   set-group-ID bits) and extended attributes (ACLs and security labels
//   included); it is written, flushed, renamed over the old file, and the
//   folder flushed;
// - a file with more than one name (hard links), one whose owner, group or
//   attributes a new file could not keep, and one that may be written but
//   not renamed over (another user's file in a sticky folder, a file
//   mounted onto its name) is written in place instead (see writeInPlace:
//   locked, a flushed copy of the old bytes beside it until the new ones
//   are flushed);
// - the new file has no name while it is written where the file system
//   allows it; otherwise, and for the moment between naming it and the
//   rename, it is ".NAME.mxmtool-tmp", locked while in use and readable by
//   no one the old file was not; a save that finds one nobody holds (left
//   by a crash) removes it, and one that finds it held waits a few seconds
//   for that other save, then fails.
// With an expected identity, the file is replaced only while it still has
// it (checked on the file right before the replace): otherwise nothing is
// written and the outcome is Changed. A failure carries the error of the
// system call that failed; the file is unchanged unless only the last
// flush of the folder failed. A folder or a write-protected file is never
// replaced. Safe to call from several threads at once. The probe is for
// tests.
WriteResult replaceFileContent(const std::string& nativePath, const std::string& bytes,
                               const std::optional<FileIdentity>& expected = std::nullopt,
                               WriteProbe* probe = nullptr);
// The same for the entry of that name (one component, never a link) in the
// open folder; nothing outside that folder is looked up.
WriteResult replaceFileContentAt(int folderFd, const std::string& name, const std::string& bytes,
                                 const std::optional<FileIdentity>& expected = std::nullopt,
                                 WriteProbe* probe = nullptr);
