#include "FolderItem.h"

#include "AtomicWrite.h"
#include "Exceptions.h"
#include "FileType.h"
#include "NativeFolder.h"
#include "NativePaths.h"
#include "NoReplaceRename.h"
#include "Text.h"
#include "VolumePaths.h"

#include <cerrno>
#include <climits>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace NativePaths;

namespace {

// As many links as the system follows in one path before it gives up.
constexpr int MaxLinkDepth = 40;

// The path a chain of links ends at (the path itself when it is no link),
// also when no file is there; nothing for a loop or a chain too long to
// follow, as the system counts them.
std::optional<std::string> linkTarget(std::string path) {
    for (int depth = 0; depth <= MaxLinkDepth; ++depth) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return path;
        std::string to(PATH_MAX, '\0');
        const ssize_t length = ::readlink(path.c_str(), to.data(), to.size());
        if (length <= 0 || static_cast<size_t>(length) >= to.size())
            return std::nullopt;
        to.resize(static_cast<size_t>(length));
        path = normalized(to[0] == '/' ? to : joined(folderOf(path), to));
    }
    return std::nullopt;
}

} // namespace

FolderItem::FolderItem(std::string nativePath) : nativePath_(normalized(nativePath)) {}

std::string FolderItem::Name() const {
    // Each volume of the system's table but the startup volume is named as
    // its folder is, so only a fixed table needs a look.
    if (Volumes::isSystemTable() && nativePath_ != "/")
        return baseName(nativePath_);
    const std::optional<VolumeEntry> volume = volumeOf(nativePath_);
    return volume && volume->nativeRoot == nativePath_ ? volume->name : baseName(nativePath_);
}

bool FolderItem::setName(const std::string& newName) {
    if (!isPlainName(newName) || isVolumeRoot(nativePath_))
        return false;
    if (newName == baseName(nativePath_))
        return true;
    const std::string newPath = joined(folderOf(nativePath_), newName);
    // Never replace another file: a rename that would is refused.
    if (renameWithoutReplacing(nativePath_, newPath) != 0)
        return false;
    nativePath_ = newPath;
    listed_ = false;
    return true;
}

std::string FolderItem::DisplayName() const {
    return ToDisplayText(Name());
}

std::string FolderItem::AbsolutePath() const {
    return colonPathOf(nativePath_);
}

bool FolderItem::Exists() const {
    struct stat info {};
    return ::stat(nativePath_.c_str(), &info) == 0;
}

bool FolderItem::Directory() const {
    return NativeFolder::isFolder(nativePath_);
}

bool FolderItem::Visible() const {
    return Name().rfind(".", 0) != 0;
}

std::string FolderItem::Type() const {
    if (Directory())
        return {};
    return FileTypes::typeOfFileName(Name());
}

Ref<FolderItem> FolderItem::Parent() const {
    if (isVolumeRoot(nativePath_))
        return nullptr;
    return makeRef<FolderItem>(folderOf(nativePath_));
}

Ref<FolderItem> FolderItem::Child(const std::string& name) const {
    if (!isPlainName(name))
        return nullptr;
    return makeRef<FolderItem>(joined(nativePath_, name));
}

const std::vector<std::string>& FolderItem::entryNames() const {
    if (!listed_) {
        entryNames_ = Directory() ? NativeFolder::entries(nativePath_) : std::vector<std::string>{};
        listed_ = true;
    }
    return entryNames_;
}

int FolderItem::Count() const {
    listed_ = false;
    return static_cast<int>(entryNames().size());
}

Ref<FolderItem> FolderItem::Item(int index) const {
    const auto& names = entryNames();
    if (index < 1 || static_cast<size_t>(index) > names.size())
        throw OutOfBoundsException("There is no entry " + std::to_string(index) + " in " +
                                   DisplayName() + ".");
    return makeRef<FolderItem>(joined(nativePath_, names[static_cast<size_t>(index - 1)]));
}

FolderItem::Listing FolderItem::ListEntries() const {
    return NativeFolder::listing(nativePath_);
}

DiskIdentity FolderItem::Identity() const {
    struct stat info {};
    if (::stat(nativePath_.c_str(), &info) != 0)
        return {0, 0};
    return {static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino)};
}

Ref<FolderItem> FolderItem::LinkTarget() const {
    const std::optional<std::string> target = linkTarget(nativePath_);
    return target ? makeRef<FolderItem>(*target) : nullptr;
}

WriteResult FolderItem::WriteAtomically(const std::string& bytes,
                                        const std::optional<FileIdentity>& expected) const {
    // Through a link, the file it leads to is written; the link stays.
    const std::optional<std::string> target = linkTarget(nativePath_);
    return target ? replaceFileContent(*target, bytes, expected) : WriteResult::failed(ELOOP);
}

Ref<FolderItem> GetFolderItem(const std::string& absolutePath, int pathType) {
    const std::optional<std::string> path =
        pathType == 0 ? nativePathOf(absolutePath) : std::nullopt;
    return path ? makeRef<FolderItem>(*path) : nullptr;
}

Ref<FolderItem> Volume(int index) {
    const auto table = Volumes::table();
    if (index < 0 || static_cast<size_t>(index) >= table.size())
        return nullptr;
    return makeRef<FolderItem>(table[static_cast<size_t>(index)].nativeRoot);
}

int VolumeCount() {
    return static_cast<int>(Volumes::table().size());
}
