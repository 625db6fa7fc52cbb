#pragma once

#include "NativeFolder.h"
#include "Ref.h"
#include "WriteResult.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// Device and inode, to tell whether two items are the same on disk.
using DiskIdentity = std::pair<uint64_t, uint64_t>;

// A reference to a file or folder, which need not exist. Names are the raw
// bytes the file system gives; nothing is converted on the way.
class FolderItem {
  public:
    // The item at a native absolute path ("/home/x/a.mxm").
    explicit FolderItem(std::string nativePath);

    std::string Name() const;
    // Renames the item in its folder; false when the file system refuses.
    bool setName(const std::string& newName);
    // The name as the desktop shows it (valid UTF-8 text).
    std::string DisplayName() const;
    // The volume name, then the folders and the name, joined by ":"; a ":"
    // inside a name is shown as "/".
    std::string AbsolutePath() const;
    const std::string& NativePath() const { return nativePath_; }

    bool Exists() const;
    bool Directory() const; // follows a link to a folder
    bool Visible() const;   // False for names that begin with "."
    // The name of the registered FileType whose extension ends the name
    // (letter case ignored); empty when none does.
    std::string Type() const;

    // nil at the root of a volume.
    Ref<FolderItem> Parent() const;
    Ref<FolderItem> Child(const std::string& name) const;
    // The folder's entries, sorted bytewise by name; 0 for a file.
    int Count() const;
    // 1-based; raises OutOfBoundsException outside 1 .. Count.
    Ref<FolderItem> Item(int index) const;
    // The folder's entries by what each one is, read in one pass, every name
    // in one buffer; empty for a file. Much cheaper for a whole folder than
    // asking each Item whether it is a folder or exists, and small enough
    // for walks that hold the listings of a whole tree.
    using Listing = NativeFolder::Listing;
    Listing ListEntries() const;

    DiskIdentity Identity() const;

    // The item a link leads to, links followed to the end, also when nothing
    // is there (a dangling link); the item itself when it is no link; nil
    // for a link loop.
    Ref<FolderItem> LinkTarget() const;

    // Replaces the file's content safely (see replaceFileContent: a new file
    // renamed over the old one, keeping owner, group, permissions and
    // extended attributes; in place, with a copy of the old bytes beside it
    // until the new ones are flushed, where a new file would not do), only
    // while the file still has the expected identity when one is given.
    // Through a link the file it leads to is written, also a missing one. On
    // any failure, a link loop included, the result says why and this file
    // is unchanged unless the result carries its identity (only the last
    // flush failed). Safe to call from several threads at once: it keeps no
    // shared state, and saves of the same file take turns (the last wins).
    WriteResult WriteAtomically(const std::string& bytes,
                                const std::optional<FileIdentity>& expected = std::nullopt) const;

  private:
    const std::vector<std::string>& entryNames() const;
    std::string nativePath_;
    // The folder's sorted entries as Count last read them, so that a walk
    // over Item(1 .. Count) reads the folder once.
    mutable std::vector<std::string> entryNames_;
    mutable bool listed_ = false;
};

// The item named by an AbsolutePath (path type 0); nil when no volume of
// that name is mounted or a folder on the way is missing.
Ref<FolderItem> GetFolderItem(const std::string& absolutePath, int pathType = 0);
// The mounted volume at the index: 0 the startup volume; nil past the last.
Ref<FolderItem> Volume(int index);
int VolumeCount();
