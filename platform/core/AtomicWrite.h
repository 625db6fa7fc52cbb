#pragma once

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
// false, with the file unchanged, on any failure before the rename (or, in
// place, before the first byte is written). A folder or a write-protected
// file is never replaced. Safe to call from several threads at once.
bool replaceFileContent(const std::string& nativePath, const std::string& bytes);
