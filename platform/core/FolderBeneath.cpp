#include "FolderBeneath.h"

#include "NativePaths.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace NativePaths;

// The start folder as given and as its real path: an absolute link leads
// inside when it names a place below either.
struct FolderBeneath::Start {
    std::string given, real;

    // The way below the start folder that an absolute link names; nothing
    // when it names a place elsewhere.
    std::optional<std::string> inside(const std::string& absolute) const {
        const std::string path = normalized(absolute);
        for (const std::string* root : {&real, &given})
            if (!root->empty() && isInside(path, *root))
                return path.size() == root->size() ? std::string(".")
                                                   : path.substr(root->size() + 1);
        return std::nullopt;
    }
};

namespace {

// As many links as the system follows in one path before it gives up.
constexpr int MaxLinks = 40;
// Folders this deep or less keep their descriptors, and every so many
// levels below them: a deeper folder opens its own again in at most that
// many steps.
constexpr std::size_t KeptLevels = 256, KeptEvery = 16;

int openFolderAt(int folderFd, const std::string& name) {
    return ::openat(folderFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

DiskIdentity folderIdentity(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return {0, 0};
    return {static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino)};
}

std::optional<std::string> linkText(int folderFd, const std::string& name) {
    std::string text(PATH_MAX, '\0');
    const ssize_t length = ::readlinkat(folderFd, name.c_str(), text.data(), text.size());
    if (length <= 0 || static_cast<size_t>(length) >= text.size())
        return std::nullopt;
    text.resize(static_cast<size_t>(length));
    return text;
}

// Puts the names of the way on the stack, its first name on top; empty
// names and "." are left out.
void pushWay(const std::string& way, std::vector<std::string>& stack) {
    std::vector<std::string> names;
    for (size_t begin = 0; begin <= way.size();) {
        const size_t end = std::min(way.find('/', begin), way.size());
        const std::string name = way.substr(begin, end - begin);
        if (!name.empty() && name != ".")
            names.push_back(name);
        begin = end + 1;
    }
    stack.insert(stack.end(), names.rbegin(), names.rend());
}

} // namespace

FolderBeneath::FolderBeneath(Ptr parent, std::string name, int fd, DiskIdentity identity,
                             std::shared_ptr<const Start> start)
    : parent_(std::move(parent)), name_(std::move(name)), fd_(fd), identity_(identity),
      depth_(parent_ ? parent_->depth_ + 1 : 0), start_(std::move(start)) {}

FolderBeneath::~FolderBeneath() {
    if (fd_ >= 0)
        ::close(fd_);
}

FolderBeneath::Ptr FolderBeneath::openStart(const std::string& nativePath) {
    const int fd = ::open(nativePath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    auto start = std::make_shared<Start>();
    start->given = normalized(nativePath);
    if (char* real = ::realpath(nativePath.c_str(), nullptr)) {
        start->real = real;
        std::free(real);
    }
    return Ptr(new FolderBeneath(nullptr, {}, fd, folderIdentity(fd), std::move(start)));
}

int FolderBeneath::descriptor() {
    if (fd_ >= 0 || !parent_)
        return fd_;
    const int parentFd = parent_->descriptor();
    const int fd = parentFd >= 0 ? openFolderAt(parentFd, name_) : -1;
    if (fd >= 0 && folderIdentity(fd) == identity_)
        fd_ = fd;
    else if (fd >= 0)
        ::close(fd);
    parent_->rest();
    return fd_;
}

void FolderBeneath::rest() {
    if (fd_ >= 0 && parent_ && depth_ > KeptLevels && depth_ % KeptEvery != 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

FileDescriptor FolderBeneath::shared() {
    const int fd = descriptor();
    return FileDescriptor(fd >= 0 ? ::fcntl(fd, F_DUPFD_CLOEXEC, 0) : -1);
}

FolderBeneath::Ptr FolderBeneath::subfolder(const std::string& name, int* error) {
    const int at = descriptor();
    const int fd = at >= 0 ? openFolderAt(at, name) : -1;
    if (fd < 0) {
        if (error)
            *error = at >= 0 ? errno : ENOENT;
        return nullptr;
    }
    return Ptr(new FolderBeneath(shared_from_this(), name, fd, folderIdentity(fd), start_));
}

FolderBeneath::Ptr FolderBeneath::root() {
    Ptr at = shared_from_this();
    while (at->parent_)
        at = at->parent_;
    return at;
}

std::optional<FolderBeneath::Place> FolderBeneath::follow(const std::string& linkName) {
    Ptr at = shared_from_this();
    std::vector<std::string> way{linkName};
    int links = 0;
    while (!way.empty()) {
        const std::string name = std::move(way.back());
        way.pop_back();
        if (name == "..") {
            // Above the start folder is outside.
            if (!at->parent_)
                return std::nullopt;
            at = at->parent_;
            continue;
        }
        const int fd = at->descriptor();
        struct stat info {};
        if (fd < 0 || ::fstatat(fd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
            if (fd >= 0 && way.empty() && errno == ENOENT)
                return Place{at, name, false};
            return std::nullopt;
        }
        if (S_ISLNK(info.st_mode)) {
            std::optional<std::string> text = linkText(fd, name);
            if (!text || ++links > MaxLinks)
                return std::nullopt;
            if (text->front() == '/') {
                text = start_->inside(*text);
                if (!text)
                    return std::nullopt;
                at = root();
            }
            pushWay(*text, way);
            continue;
        }
        if (way.empty())
            return Place{at, name, S_ISDIR(info.st_mode)};
        if (!S_ISDIR(info.st_mode) || !(at = at->subfolder(name)))
            return std::nullopt;
    }
    // The way ended at a folder already reached.
    if (at->parent_)
        return Place{at->parent_, at->name_, true};
    return Place{at, ".", true};
}

NativeFolder::Entries FolderBeneath::entries() {
    const int fd = descriptor();
    return fd >= 0 ? NativeFolder::entriesAt(fd) : NativeFolder::Entries{};
}

std::pair<DiskIdentity, int> FolderBeneath::fileIdentity(const std::string& name) {
    const int fd = descriptor();
    struct stat info {};
    if (fd < 0 || ::fstatat(fd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return {{0, 0}, 0};
    return {{static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino)},
            static_cast<int>(info.st_nlink)};
}

std::size_t FolderBeneath::fileSize(const std::string& name) {
    const int fd = descriptor();
    struct stat info {};
    if (fd < 0 || ::fstatat(fd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return 0;
    return static_cast<std::size_t>(info.st_size);
}

std::string FolderBeneath::path() const {
    std::vector<const std::string*> names;
    for (const FolderBeneath* at = this; at->parent_; at = at->parent_.get())
        names.push_back(&at->name_);
    std::string path = start_->given;
    for (auto name = names.rbegin(); name != names.rend(); ++name) {
        if (path.back() != '/')
            path += '/';
        path += **name;
    }
    return path;
}
