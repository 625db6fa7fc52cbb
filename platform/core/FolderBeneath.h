#pragma once

#include "FileDescriptor.h"
#include "FolderItem.h"
#include "NativeFolder.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <utility>

// A folder below a chosen start folder, reached from the start folder's
// descriptor one name at a time and never through a link, so that whatever
// is read or written through it stays inside the start folder however the
// tree changes meanwhile. Links are followed only on request (follow), and
// only while their way stays inside.
//
// A deep tree would need a descriptor per level: the start folder, the
// first levels and every few levels below them keep theirs; any other
// folder gives its own up when asked to rest, and opens it again from its
// nearest ancestor that kept one, name by name, and only while it is still
// the folder it was (device and inode). Belongs to one thread.
class FolderBeneath : public std::enable_shared_from_this<FolderBeneath> {
  public:
    using Ptr = std::shared_ptr<FolderBeneath>;
    // A name in a folder beneath the start folder.
    struct Place {
        Ptr folder;
        std::string name;
        // A folder is there (as against a file, or nothing).
        bool isFolder = false;
    };

    // The start folder, links on the way to it followed; nil when it cannot
    // be opened as a folder.
    static Ptr openStart(const std::string& nativePath);
    ~FolderBeneath();
    FolderBeneath(const FolderBeneath&) = delete;
    FolderBeneath& operator=(const FolderBeneath&) = delete;

    // The folder's descriptor, opened again when it was given up; -1 when
    // the folder can no longer be reached as it was.
    int descriptor();
    // Gives the descriptor up, unless this folder keeps it.
    void rest();
    // A descriptor of its own for the folder, for another thread; none when
    // the folder can no longer be reached as it was.
    FileDescriptor shared();

    // The subfolder of that name, never through a link; nil when there is
    // none or it cannot be opened, and then, given error, the system's reason.
    Ptr subfolder(const std::string& name, int* error = nullptr);
    // Where the link of that name in this folder leads, each link on the
    // way followed as the system would (at most as many); nothing when the
    // way leaves the start folder, loops, or breaks off before its last
    // name. The last name need not exist (a dangling link).
    std::optional<Place> follow(const std::string& linkName);

    NativeFolder::Entries entries();
    // The identity of the file of that name (never through a link) and how
    // many names it has; {0, 0} and 0 when it cannot be looked at.
    std::pair<DiskIdentity, int> fileIdentity(const std::string& name);
    // The size of the file of that name (never through a link); 0 when it
    // cannot be looked at.
    std::size_t fileSize(const std::string& name);
    DiskIdentity identity() const { return identity_; }
    // The folder's native path as the start folder was given; it may be
    // longer than the system takes, so it serves for names and messages.
    std::string path() const;

  private:
    struct Start;
    FolderBeneath(Ptr parent, std::string name, int fd, DiskIdentity identity,
                  std::shared_ptr<const Start> start);
    Ptr root();
    std::optional<Place> followFrom(Ptr at, std::string way, int& links);

    const Ptr parent_;
    const std::string name_;
    int fd_;
    const DiskIdentity identity_;
    const std::size_t depth_;
    const std::shared_ptr<const Start> start_;
};
