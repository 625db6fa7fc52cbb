#include "MaterialReading.h"
#include "MaxwellHelper.h"
#include "PathCheckFixture.h"
#include "SearchCache.h"
#include "TempFolder.h"
#include "Text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <utility>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

using MaxwellHelper::findFile;

namespace {

using Identity = std::pair<uint64_t, uint64_t>;

// The search without any cache, asking the file system about every entry:
// what the cached search must find, file for file.
Ref<FolderItem> plainWalk(const std::string& name, const Ref<FolderItem>& folder,
                          std::vector<Identity>& walkPath) {
    std::vector<Ref<FolderItem>> subfolders;
    const int count = folder->Count();
    for (int index = 1; index <= count; ++index) {
        Ref<FolderItem> entry = folder->Item(index);
        if (entry->Directory())
            subfolders.push_back(entry);
        else if (StringEquals(entry->Name(), name) && entry->Exists())
            return entry;
    }
    walkPath.push_back(folder->Identity());
    for (const Ref<FolderItem>& subfolder : subfolders) {
        if (std::ranges::find(walkPath, subfolder->Identity()) != walkPath.end())
            continue;
        if (Ref<FolderItem> found = plainWalk(name, subfolder, walkPath))
            return found;
    }
    walkPath.pop_back();
    return nullptr;
}

std::string plainFind(const std::string& name, const Ref<FolderItem>& folder,
                      const SearchLocations::FolderList& locations) {
    std::vector<Ref<FolderItem>> roots{folder};
    roots.insert(roots.end(), locations.begin(), locations.end());
    for (const Ref<FolderItem>& root : roots) {
        std::vector<Identity> walkPath;
        if (Ref<FolderItem> found = plainWalk(name, root, walkPath))
            return found->NativePath();
    }
    return "";
}

std::string pathOf(const Ref<FolderItem>& file) {
    return file ? file->NativePath() : "";
}

// A random tree around a material folder "mat": folders (hidden ones, one
// named like a file), files whose names differ only in letter case, links to
// folders that may lead back up the tree, a link to a file and a link whose
// target is gone.
class GeneratedTree {
  public:
    explicit GeneratedTree(unsigned seed) : random_(seed) {
        folders_ = {"mat", "lib"};
        for (int i = 0; i < 14; ++i)
            place(pick(folders_) + "/" + pick(folderNames), [this](const std::string& path) {
                temp.makeFolder(path);
                folders_.push_back(path);
            });
        for (int i = 0; i < 40; ++i)
            place(pick(folders_) + "/" + pick(fileNames),
                  [this](const std::string& path) { files_.push_back(temp.makeFile(path)); });
        for (int i = 0; i < 3; ++i)
            link(temp.pathOf(pick(folders_)), pick(folders_) + "/link" + std::to_string(i));
        link(pick(files_), pick(folders_) + "/" + pick(fileNames));
        link(temp.pathOf("gone.ior"), pick(folders_) + "/" + pick(fileNames));
    }

    // Up to three folders, the one that holds "mat" among them, in any order
    // and possibly twice.
    SearchLocations::FolderList someLocations() {
        std::vector<std::string> candidates = folders_;
        candidates.push_back("");
        SearchLocations::FolderList locations;
        for (int n = std::uniform_int_distribution(0, 3)(random_); n > 0; --n)
            locations.push_back(makeRef<FolderItem>(temp.pathOf(pick(candidates))));
        return locations;
    }

    static inline const std::vector<std::string> queries{
        "a.ior", "A.IOR", "b.png", ".B.PNG", "c.R2", "\xC3\xA4.ior", "a", "missing.ior"};

    TempFolder temp;

  private:
    static inline const std::vector<std::string> folderNames{"A", "b", ".hidden", "a.ior", "deep"};
    // "\xC3\xA4" and "\xC3\x84" are a and A with diaeresis: equal only when
    // letter case counts beyond ASCII, which it must not.
    static inline const std::vector<std::string> fileNames{"a.ior", "A.IOR",        "a.Ior",
                                                           "b.png", ".b.png",       "B.png",
                                                           "c.r2",  "\xC3\xA4.ior", "\xC3\x84.ior"};

    std::string pick(const std::vector<std::string>& from) {
        return from[std::uniform_int_distribution<size_t>(0, from.size() - 1)(random_)];
    }
    // Makes the entry unless something stands there already.
    template <class Make> void place(const std::string& relative, Make make) {
        struct stat info {};
        if (::lstat(temp.pathOf(relative).c_str(), &info) != 0)
            make(relative);
    }
    void link(const std::string& target, const std::string& relative) {
        place(relative, [&](const std::string& path) {
            ASSERT_EQ(::symlink(target.c_str(), temp.pathOf(path).c_str()), 0);
        });
    }

    std::mt19937 random_;
    std::vector<std::string> folders_;
    std::vector<std::string> files_;
};

TEST(SearchCacheTest, FindsWhatThePlainWalkFinds) {
    int matches = 0;
    for (unsigned seed = 0; seed < 40; ++seed) {
        GeneratedTree tree(seed);
        FakeDefaultLocations defaults;
        defaults.list = tree.someLocations();
        const Ref<FolderItem> mat = tree.temp.item("mat");
        // Each search on its own, then all of them sharing one scope.
        for (const std::string& name : GeneratedTree::queries)
            EXPECT_EQ(pathOf(findFile(name, mat, false)), plainFind(name, mat, {}))
                << "seed " << seed << ", " << name;
        const SearchCache::Scope shared;
        for (const std::string& name : GeneratedTree::queries) {
            const std::string expected = plainFind(name, mat, defaults.list);
            EXPECT_EQ(pathOf(findFile(name, mat, true)), expected)
                << "seed " << seed << ", " << name;
            matches += expected.empty() ? 0 : 1;
        }
    }
    // The trees are rich enough that most names are found somewhere.
    EXPECT_GT(matches, 40 * 4);
}

class SearchScopeTest : public ::testing::Test {
  protected:
    std::string found(const std::string& name) {
        return pathOf(findFile(name, temp.item("mat"), true));
    }

    TempFolder temp;
    FakeDefaultLocations defaults;
    RecordedServices services;
};

TEST_F(SearchScopeTest, EachFolderIsListedOncePerScope) {
    temp.makeFile("mat/sub/x.ior");
    temp.makeFolder("lib");
    defaults.list = {temp.item("lib")};
    {
        const SearchCache::Scope scope;
        EXPECT_EQ(found("y.ior"), "");
        // Added after the folders were listed: this scope does not see them,
        // from the same root, from another root, or through a link.
        temp.makeFile("mat/y.ior");
        temp.makeFile("mat/sub/y.ior");
        temp.makeFile("lib/y.ior");
        ASSERT_EQ(::symlink(temp.pathOf("mat/sub").c_str(), temp.pathOf("sublink").c_str()), 0);
        EXPECT_EQ(found("y.ior"), "");
        EXPECT_EQ(found("Y.IOR"), "");
        EXPECT_EQ(pathOf(scope.cache().find("y.ior", temp.item("mat/sub"))), "");
        EXPECT_EQ(pathOf(scope.cache().find("y.ior", temp.item("sublink"))), "");
    }
    EXPECT_EQ(found("y.ior"), temp.pathOf("mat/y.ior"));
}

TEST_F(SearchScopeTest, WalkGoesNoFurtherThanTheLookupsNeed) {
    temp.makeFile("mat/a/x.ior");
    temp.makeFolder("mat/z");
    const SearchCache::Scope scope;
    EXPECT_EQ(found("x.ior"), temp.pathOf("mat/a/x.ior"));
    // mat/z comes after the match, so it was not listed yet.
    temp.makeFile("mat/z/q.ior");
    EXPECT_EQ(found("q.ior"), temp.pathOf("mat/z/q.ior"));
}

TEST_F(SearchScopeTest, OnePathCheckListsOnceAndTheNextListsAfresh) {
    temp.makeFolder("mat");
    mxmFile material = readMaterial("", temp.pathOf("mat/wood.mxm"));
    for (const std::string path : {"/nowhere/a.ior", "/nowhere/b.ior"}) {
        material.mxmPaths.emplace_back();
        material.mxmPaths.back().setString(path);
    }
    material.mxmParameter = {"", ""};
    // The search for a.ior has walked the material's folder when it asks for
    // the default locations; b.ior appears only then.
    SearchLocations::setSearchLocationsSource([this]() -> const SearchLocations::FolderList& {
        if (defaults.reads++ == 0)
            temp.makeFile("mat/b.ior");
        return defaults.list;
    });
    int32_t status = 0;
    EXPECT_EQ(material.ResetPaths(status), "[ a.ior - not found, o.k.? ] \r"
                                           "[ b.ior - not found, critical ] \r");
    EXPECT_EQ(material.ResetPaths(status), "[ a.ior - not found, o.k.? ] \r"
                                           "[ b.ior - Path changed, o.k. ] \r");
}

} // namespace
