#include "FoldedNameTable.h"
#include "MaxwellHelper.h"
#include "SearchCache.h"
#include "SearchLocations.h"
#include "TempFolder.h"
#include "Text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>

namespace fs = std::filesystem;

namespace {

std::string pathOf(const Ref<FolderItem>& file) {
    return file ? file->NativePath() : "";
}

// The search as it was first written, without any cache: every entry asked
// on its own, every link path walked again, only a folder already on the way
// down skipped. The cached search must find exactly what this finds.
Ref<FolderItem> plainWalk(const std::string& name, const Ref<FolderItem>& folder,
                          std::vector<DiskIdentity> walkPath = {}) {
    walkPath.push_back(folder->Identity());
    for (int index = 1, count = folder->Count(); index <= count; ++index)
        if (Ref<FolderItem> entry = folder->Item(index); !entry->Directory() && entry->Exists())
            if (StringEquals(entry->Name(), name))
                return entry;
    for (int index = 1, count = folder->Count(); index <= count; ++index)
        if (Ref<FolderItem> entry = folder->Item(index); entry->Directory())
            if (std::ranges::find(walkPath, entry->Identity()) == walkPath.end())
                if (Ref<FolderItem> found = plainWalk(name, entry, walkPath))
                    return found;
    return nullptr;
}

// Folders L0 .. Ldepth, each but the last with two links "l" and "r" to the
// next: 2^depth link paths lead to the last folder.
std::string rung(int i) {
    return std::to_string(i).insert(0, 1, 'L');
}

void makeLinkLadder(const TempFolder& temp, int depth) {
    for (int i = 0; i <= depth; ++i)
        temp.makeFolder(rung(i));
    for (int i = 0; i < depth; ++i)
        for (const char* side : {"/l", "/r"})
            fs::create_symlink("../" + rung(i + 1), temp.pathOf(rung(i) + side));
}

const std::vector<std::string> names{"a.ior",        "A.IOR",        ".b.png", "B.png",
                                     "\xC3\xA4.ior", "\xC3\x84.ior", "c",      "C"};

// A random tree: folders (hidden ones, some named like a file), files whose
// names differ in letter case (ASCII or not), links to folders that may lead
// back up or sideways, to files, to nothing; and a small link ladder, whose
// folders are reached along many paths.
std::vector<std::string> makeRandomTree(const TempFolder& temp, std::mt19937& random) {
    const auto pick = [&](const auto& from) { return from[random() % from.size()]; };
    makeLinkLadder(temp, 4);
    std::vector<std::string> folders{temp.path(), temp.pathOf("L0"), temp.pathOf("L4")};
    std::vector<std::string> files{temp.pathOf("gone")};
    for (int i = 0; i < 80; ++i) {
        const std::string at = pick(folders) + "/" + pick(names);
        if (fs::exists(fs::symlink_status(at)))
            continue;
        if (i >= 66)
            fs::create_symlink(pick(i < 76 ? folders : files), at);
        else if (i >= 20)
            temp.makeFile(at.substr(temp.path().size() + 1));
        else if (fs::create_directory(at))
            folders.push_back(at);
    }
    return folders;
}

TEST(FileSearch, FindsWhatThePlainWalkFindsWhateverTheOrderOfLookups) {
    int matches = 0;
    SearchLocations::FolderList defaults;
    SearchLocations::setSearchLocationsSource(
        [&]() -> const SearchLocations::FolderList& { return defaults; });
    for (unsigned seed = 0; seed < 20; ++seed) {
        TempFolder temp;
        std::mt19937 random(seed);
        const std::vector<std::string> folders = makeRandomTree(temp, random);
        // One scope for every lookup, from several roots in turn: a root's
        // lazy walk must not be cut short by what another root has walked.
        const SearchCache::Scope scope;
        for (int lookup = 0; lookup < 40; ++lookup) {
            // The root, then up to three default locations that may repeat or overlap.
            defaults.clear();
            for (unsigned n = 1 + random() % 4; n > 0; --n)
                defaults.push_back(makeRef<FolderItem>(folders[random() % folders.size()]));
            const std::string name = names[random() % names.size()];
            std::string expected;
            for (const Ref<FolderItem>& location : defaults)
                expected = expected.empty() ? pathOf(plainWalk(name, location)) : expected;
            ASSERT_EQ(pathOf(scope.cache().find(name, defaults[0])),
                      pathOf(plainWalk(name, defaults[0])))
                << "seed " << seed << " root " << defaults[0]->NativePath() << " name " << name;
            ASSERT_EQ(pathOf(MaxwellHelper::findFile(name, defaults[0], true)), expected)
                << "seed " << seed << " name " << name;
            matches += expected.empty() ? 0 : 1;
        }
    }
    SearchLocations::setSearchLocationsSource(nullptr);
    // The trees are rich enough that most lookups find something.
    EXPECT_GT(matches, 20 * 20);
}

TEST(FileSearch, EntersAFolderReachedAlongManyLinkPathsOnce) {
    TempFolder temp;
    makeLinkLadder(temp, 20);
    temp.makeFile("L20/deep.ior");
    const auto started = std::chrono::steady_clock::now();
    EXPECT_FALSE(MaxwellHelper::findFile("nowhere.ior", temp.item("L0"), false));
    // Found along the first link path in entry order, as the plain walk finds it.
    std::string firstPath = "L0";
    for (int i = 0; i < 20; ++i)
        firstPath += "/l";
    EXPECT_EQ(pathOf(MaxwellHelper::findFile("deep.ior", temp.item("L0"), false)),
              temp.pathOf(firstPath + "/deep.ior"));
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(500));
}

// Every byte value, at a place the name table folds eight bytes at once and
// at a place it folds the tail: a capital must find its small letter, and
// nothing else may meet.
TEST(FileSearch, NameTableFoldsTheCaseOfAsciiLettersOnly) {
    for (const size_t at : {size_t{3}, size_t{11}}) {
        std::vector<std::string> names;
        for (int byte = 0; byte < 256; ++byte)
            names.push_back(std::string(at, 'q') + static_cast<char>(byte) + "_tail");
        const auto nameOf = [&names](uint32_t number) { return std::string_view(names[number]); };
        // One at a time, so that the table grows in between.
        FoldedNameTable table;
        for (const std::string_view name : names)
            table.add({&name, 1}, nameOf);
        for (int byte = 0; byte < 256; ++byte)
            EXPECT_EQ(table.find(names[byte], nameOf),
                      byte >= 'a' && byte <= 'z' ? byte - 'a' + 'A' : byte)
                << "byte " << byte << " at " << at;
    }
}

bool devIsDevtmpfs() {
    std::ifstream table("/proc/self/mountinfo");
    for (std::string line; std::getline(table, line);)
        if (line.find(" /dev ") != std::string::npos &&
            line.find(" - devtmpfs ") != std::string::npos)
            return true;
    return false;
}

// Links to the kernel's file systems lead nowhere: "cpuinfo" and "null"
// exist only there. The search over them ends at once, and goes on into the
// ordinary folders after them.
TEST(FileSearch, DoesNotWalkTheKernelsFileSystems) {
    TempFolder temp;
    temp.makeFile("tree/zz/found.ior");
    for (const char* path : {"/proc", "/sys", "/dev"})
        fs::create_symlink(path, temp.pathOf(std::string("tree") + path));
    const auto started = std::chrono::steady_clock::now();
    const SearchCache::Scope scope;
    for (const char* name : {"cpuinfo", "uevent", "stat"})
        EXPECT_FALSE(scope.cache().find(name, temp.item("tree"))) << name;
    // A /dev of plain tmpfs, as some containers have, is an ordinary folder.
    EXPECT_TRUE(!devIsDevtmpfs() || !scope.cache().find("null", temp.item("tree")));
    EXPECT_TRUE(scope.cache().find("found.ior", temp.item("tree")));
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(500));
}

} // namespace
