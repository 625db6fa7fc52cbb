#include "FuzzTree.h"

#include "SearchLocations.h"
#include "Volumes.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void made(bool ok, const std::string& what) {
    if (!ok)
        throw std::runtime_error("cannot make " + what);
}

void folder(const std::string& path) {
    std::error_code error;
    std::filesystem::create_directories(path, error);
    made(!error, path);
}

void file(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    made(fd >= 0, path);
    ::close(fd);
}

void link(const std::string& target, const std::string& path) {
    made(::symlink(target.c_str(), path.c_str()) == 0, path);
}

} // namespace

const FuzzTree& FuzzTree::instance() {
    static const FuzzTree tree;
    return tree;
}

FuzzTree::FuzzTree()
    : root_((std::filesystem::temp_directory_path() / "mxm-fuzz-XXXXXX").string()) {
    made(::mkdtemp(root_.data()) != nullptr, root_);
    build();
    Volumes::setTable({{"HD", root_ + "/HD"}, {"Data", root_ + "/Data"}, {"HD2", root_ + "/HD2"}});
    static SearchLocations::FolderList defaults;
    defaults = {makeRef<FolderItem>(root_ + "/Data/lib"), makeRef<FolderItem>(root_ + "/HD2/tex")};
    SearchLocations::setSearchLocationsSource(
        []() -> const SearchLocations::FolderList& { return defaults; });
    material_ = makeRef<FolderItem>(root_ + "/HD/mat/fuzz.mxm");
}

FuzzTree::~FuzzTree() {
    std::error_code error;
    std::filesystem::remove_all(root_, error);
}

void FuzzTree::build() const {
    const std::string mat = root_ + "/HD/mat";
    for (const std::string& path :
         {mat + "/tex", mat + "/.hidden", root_ + "/Data/lib", root_ + "/HD2/tex"})
        folder(path);
    for (const char* name : {"a.jpg", "glass.ior", "co:lon.jpg", "caf\xE9.png"})
        file(mat + "/tex/" + name);
    // Named like a texture: the check may find it, but must never open it.
    made(::mkfifo((mat + "/tex/b.jpg").c_str(), 0644) == 0, "the FIFO");
    file(mat + "/.hidden/sky.r2");
    for (const char* name :
         {"/Data/lib/glass.ior", "/Data/lib/x.r2", "/HD2/tex/glass2.ior", "/HD2/tex/sky2.r2"})
        file(root_ + name);
    link("..", mat + "/tex/up");
    link("../../Data/lib", mat + "/lib");
    link("nowhere.jpg", mat + "/gone.jpg");
}
