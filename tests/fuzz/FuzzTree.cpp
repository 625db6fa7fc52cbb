#include "FuzzTree.h"

#include "SearchLocations.h"
#include "Volumes.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

void made(bool ok, const std::string& what) {
    if (!ok)
        throw std::runtime_error("cannot make " + what);
}

struct FuzzTree {
    std::string root = (fs::temp_directory_path() / "mxm-fuzz-XXXXXX").string();
    Ref<FolderItem> material;

    FuzzTree() {
        made(::mkdtemp(root.data()) != nullptr, root);
        const std::string mat = root + "/HD/mat";
        for (const std::string& path : {mat + "/tex", mat + "/.hidden", mat + "/bitmaps",
                                        root + "/Data/lib", root + "/HD2/tex"})
            fs::create_directories(path);
        for (const std::string& path :
             {mat + "/tex/a.jpg", mat + "/tex/glass.ior", mat + "/tex/co:lon.jpg",
              mat + "/tex/caf\xE9.png", mat + "/.hidden/sky.r2", mat + "/bitmaps/bm.ior",
              root + "/Data/lib/glass.ior", root + "/Data/lib/x.r2", root + "/HD2/tex/glass2.ior",
              root + "/HD2/tex/sky2.r2"})
            made(std::ofstream(path).good(), path);
        // Named like a texture: the check may find it, but must never open it.
        made(::mkfifo((mat + "/tex/b.jpg").c_str(), 0644) == 0, "the FIFO");
        fs::create_symlink("..", mat + "/tex/up");
        fs::create_symlink("../../Data/lib", mat + "/lib");
        fs::create_symlink("nowhere.jpg", mat + "/gone.jpg");
        Volumes::setTable({{"HD", root + "/HD"}, {"Data", root + "/Data"}, {"HD2", root + "/HD2"}});
        static SearchLocations::FolderList defaults;
        defaults = {makeRef<FolderItem>(root + "/Data/lib"),
                    makeRef<FolderItem>(root + "/HD2/tex")};
        SearchLocations::setSearchLocationsSource(
            []() -> const SearchLocations::FolderList& { return defaults; });
        material = makeRef<FolderItem>(mat + "/fuzz.mxm");
    }
    ~FuzzTree() {
        std::error_code error;
        fs::remove_all(root, error);
    }
};

} // namespace

const Ref<FolderItem>& fuzzMaterialFile() {
    static const FuzzTree tree;
    return tree.material;
}
