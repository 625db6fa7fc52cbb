#include "FolderItem.h"

#include "AtomicWrite.h"
#include "Exceptions.h"
#include "FileType.h"
#include "NativeFolder.h"
#include "Text.h"
#include "Volumes.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// As many links as the system follows in one path before it gives up.
constexpr int MaxLinkDepth = 40;

// Absolute, without repeated or trailing slashes, so that paths compare as
// text. Links and ".." are left alone: an item keeps the path it was given.
std::string normalized(const std::string& path) {
    std::string absolute = path;
    if (absolute.empty() || absolute[0] != '/') {
        char buffer[PATH_MAX];
        const char* cwd = ::getcwd(buffer, sizeof buffer);
        absolute = std::string(cwd ? cwd : "") + "/" + absolute;
    }
    std::string out;
    for (char c : absolute)
        if (c != '/' || out.empty() || out.back() != '/')
            out += c;
    if (out.size() > 1 && out.back() == '/')
        out.pop_back();
    return out;
}

std::string baseName(const std::string& path) {
    return path.substr(path.rfind('/') + 1);
}

std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string joined(const std::string& folder, const std::string& name) {
    return folder == "/" ? "/" + name : folder + "/" + name;
}

bool isInside(const std::string& path, const std::string& root) {
    if (root == "/")
        return true;
    return path.compare(0, root.size(), root) == 0 &&
           (path.size() == root.size() || path[root.size()] == '/');
}

// A name the file system can hold in one folder entry.
bool isPlainName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string("/\0", 2)) == std::string::npos;
}

// The volume name as a colon path shows it.
std::string shownName(const std::string& name) {
    return ReplaceAllB(name, ":", "/");
}

// The volume holding the path: the one whose root is the longest prefix;
// among roots of the same length another volume wins over the startup
// volume. -1 when no volume holds the path.
int volumeIndexOf(const std::vector<VolumeEntry>& table, const std::string& path) {
    int best = -1;
    size_t bestLength = 0;
    for (size_t k = 1; k <= table.size(); ++k) {
        const size_t i = k % table.size();
        const std::string root = normalized(table[i].nativeRoot);
        if (isInside(path, root) && (best < 0 || root.size() > bestLength)) {
            best = static_cast<int>(i);
            bestLength = root.size();
        }
    }
    return best;
}

// The volume holding the path. The system's table is not read for this (a
// batch asks for every file it meets): the path lies on the volume mounted
// at the folder directly inside the volumes folder that leads to it, when
// that is a folder, and otherwise on the startup volume.
std::optional<VolumeEntry> volumeOf(const std::string& path) {
    if (!Volumes::isSystemTable()) {
        const auto table = Volumes::table();
        const int volume = volumeIndexOf(table, path);
        if (volume < 0)
            return std::nullopt;
        const VolumeEntry& entry = table[static_cast<size_t>(volume)];
        return VolumeEntry{entry.name, normalized(entry.nativeRoot)};
    }
    const std::string& mounts = Volumes::volumesFolder();
    if (path.size() > mounts.size() && isInside(path, mounts)) {
        const std::string root = path.substr(0, path.find('/', mounts.size() + 1));
        if (NativeFolder::isFolder(root))
            return VolumeEntry{baseName(root), root};
    }
    return VolumeEntry{Volumes::StartupVolumeName, "/"};
}

bool isVolumeRoot(const std::string& path) {
    if (path == "/")
        return true; // the startup volume's in the system's table; never left anyway
    if (Volumes::isSystemTable() && folderOf(path) != Volumes::volumesFolder())
        return false;
    const std::optional<VolumeEntry> volume = volumeOf(path);
    return volume && volume->nativeRoot == path;
}

bool renameWithoutReplacing(const std::string& from, const std::string& to) {
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
#endif
    struct stat info {};
    if (::lstat(to.c_str(), &info) == 0)
        return false;
    return ::rename(from.c_str(), to.c_str()) == 0;
}

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

bool makeFolders(const std::string& path) {
    if (NativeFolder::isFolder(path))
        return true;
    if (path == "/" || !makeFolders(folderOf(path)))
        return false;
    return ::mkdir(path.c_str(), 0700) == 0 || NativeFolder::isFolder(path);
}

std::string userConfigFolder() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/')
        return config;
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/')
        return std::string(home) + "/.config";
    const passwd* user = ::getpwuid(::getuid());
    if (user && user->pw_dir && user->pw_dir[0] == '/')
        return std::string(user->pw_dir) + "/.config";
    return {};
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
    if (!renameWithoutReplacing(nativePath_, newPath))
        return false;
    nativePath_ = newPath;
    listed_ = false;
    return true;
}

std::string FolderItem::DisplayName() const {
    return ToDisplayText(Name());
}

std::string FolderItem::AbsolutePath() const {
    const std::optional<VolumeEntry> volume = volumeOf(nativePath_);
    if (!volume)
        return {};
    const std::string rest = nativePath_.substr(volume->nativeRoot.size());
    std::string path = shownName(volume->name) + ":";
    bool first = true;
    for (const std::string& component : Split(rest, "/")) {
        if (component.empty())
            continue;
        if (!first)
            path += ':';
        path += ReplaceAllB(component, ":", "/");
        first = false;
    }
    return path;
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

const std::vector<std::string>& FolderItem::entries() const {
    if (!listed_) {
        entries_ = Directory() ? NativeFolder::entries(nativePath_) : std::vector<std::string>{};
        listed_ = true;
    }
    return entries_;
}

int FolderItem::Count() const {
    listed_ = false;
    return static_cast<int>(entries().size());
}

Ref<FolderItem> FolderItem::Item(int index) const {
    const auto& names = entries();
    if (index < 1 || static_cast<size_t>(index) > names.size())
        throw OutOfBoundsException("There is no entry " + std::to_string(index) + " in " +
                                   DisplayName() + ".");
    return makeRef<FolderItem>(joined(nativePath_, names[static_cast<size_t>(index - 1)]));
}

std::vector<FolderItem::Entry> FolderItem::Entries() const {
    return NativeFolder::typedEntries(nativePath_);
}

FolderItem::Listing FolderItem::ListEntries() const {
    return NativeFolder::listing(nativePath_);
}

std::pair<uint64_t, uint64_t> FolderItem::Identity() const {
    struct stat info {};
    if (::stat(nativePath_.c_str(), &info) != 0)
        return {0, 0};
    return {static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino)};
}

Ref<FolderItem> FolderItem::LinkTarget() const {
    const std::optional<std::string> target = linkTarget(nativePath_);
    return target ? makeRef<FolderItem>(*target) : nullptr;
}

bool FolderItem::WriteAtomically(const std::string& bytes) const {
    // Through a link, the file it leads to is written; the link stays.
    const std::optional<std::string> target = linkTarget(nativePath_);
    return target && replaceFileContent(*target, bytes);
}

Ref<FolderItem> GetFolderItem(const std::string& absolutePath, int pathType) {
    if (pathType != 0)
        return nullptr;
    const std::vector<std::string> components = Split(absolutePath, ":");
    const auto table = Volumes::table();
    const VolumeEntry* volume = nullptr;
    for (const VolumeEntry& entry : table)
        if (!volume && StringEquals(shownName(entry.name), components[0]))
            volume = &entry;
    if (!volume)
        return nullptr;
    std::string path = normalized(volume->nativeRoot);
    for (size_t i = 1; i < components.size(); ++i) {
        if (components[i].empty())
            continue;
        const std::string name = ReplaceAllB(components[i], "/", ":");
        // "." and ".." are no names on a colon path: they would lead out of the volume.
        if (!isPlainName(name) || !NativeFolder::isFolder(path))
            return nullptr;
        path = joined(path, name);
    }
    return makeRef<FolderItem>(path);
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

Ref<FolderItem> PreferencesFolder() {
    std::string root = Volumes::preferencesRoot();
    if (root.empty())
        root = userConfigFolder();
    if (root.empty() || !makeFolders(normalized(root)))
        return nullptr;
    return makeRef<FolderItem>(root);
}

std::string RealLocation(const FolderItem& item) {
    char* real = ::realpath(item.NativePath().c_str(), nullptr);
    if (!real)
        return {};
    std::string path = real;
    std::free(real);
    return path;
}

bool LiesWithin(const FolderItem& item, const FolderItem& folder) {
    const std::string path = RealLocation(item), root = RealLocation(folder);
    if (path.empty() || root.empty())
        return false;
    const std::string rootWithSlash = root == "/" ? root : root + "/";
    return path == root || path.compare(0, rootWithSlash.size(), rootWithSlash) == 0;
}

int LinkCount(const FolderItem& item) {
    struct stat info {};
    if (::stat(item.NativePath().c_str(), &info) != 0)
        return 0;
    return static_cast<int>(info.st_nlink);
}
