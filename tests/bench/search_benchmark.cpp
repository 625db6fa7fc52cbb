// The path check of a material with 50 missing paths in a large folder tree,
// against one plain recursive listing of the same tree with the standard
// library. Half the files are somewhere in the tree, half nowhere, so the
// check has to walk all of it. The tree is made once and kept in /tmp.
#include "BinaryStream.h"
#include "FolderItem.h"
#include "MaterialBytes.h"
#include "mxmFile.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

const fs::path treeRoot = "/tmp/mxm-search-benchmark-tree";
constexpr int groups = 10;
constexpr int foldersPerGroup = 99; // 10 groups + 990 folders = 1,000 folders
constexpr int filesPerFolder = 100; // 100,000 files
constexpr int missingPaths = 50;

std::string fileName(int folder, int file) {
    return "tex_" + std::to_string(folder) + "_" + std::to_string(file) + ".png";
}

// Every folder of the tree in a fixed order, the groups first.
std::vector<fs::path> treeFolders(const fs::path& root) {
    std::vector<fs::path> folders;
    for (int g = 0; g < groups; ++g)
        folders.push_back(root / ("group_" + std::to_string(g)));
    for (int g = 0; g < groups; ++g)
        for (int f = 0; f < foldersPerGroup; ++f)
            folders.push_back(folders[static_cast<size_t>(g)] / ("folder_" + std::to_string(f)));
    return folders;
}

// Built under a temporary name and renamed into place, so that a tree at
// treeRoot is always complete.
void makeTreeOnce() {
    if (fs::exists(treeRoot))
        return;
    const fs::path building = treeRoot.string() + "." + std::to_string(::getpid());
    const std::vector<fs::path> folders = treeFolders(building);
    for (size_t folder = 0; folder < folders.size(); ++folder) {
        fs::create_directories(folders[folder]);
        for (int file = 0; file < filesPerFolder; ++file)
            std::ofstream(folders[folder] / fileName(static_cast<int>(folder), file)) << "t";
    }
    std::error_code lostRace;
    fs::rename(building, treeRoot, lostRace);
    if (lostRace)
        fs::remove_all(building);
}

// Stored paths on a volume that is gone: even numbers name files spread over
// the tree, odd numbers files that exist nowhere.
std::string materialBytes() {
    MaterialBytes bytes;
    bytes.marker().string("oak").preview(200, 200).middle();
    for (int i = 0; i < missingPaths; ++i) {
        const std::string name = i % 2 == 0 ? fileName(i * 1000 / missingPaths, i)
                                            : "nowhere_" + std::to_string(i) + ".png";
        bytes.record("/Volumes/Gone/textures/" + name, "params bitmap");
    }
    return bytes.bytes();
}

int countOf(const std::string& text, const std::string& part) {
    int count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

void BM_PathCheck(benchmark::State& state) {
    makeTreeOnce();
    const std::string bytes = materialBytes();
    const Ref<FolderItem> file = makeRef<FolderItem>((treeRoot / "oak.mxm").string());
    for (auto _ : state) {
        mxmFile material(makeRef<BinaryStream>(bytes), file);
        int32_t status = 0;
        const std::string report = material.ResetPaths(status);
        if (status != 3 || countOf(report, "Path changed") != missingPaths / 2)
            state.SkipWithError("the check did not find what it should");
    }
}

void BM_StandardListing(benchmark::State& state) {
    makeTreeOnce();
    for (auto _ : state) {
        size_t entries = 0;
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(treeRoot)) {
            benchmark::DoNotOptimize(entry);
            ++entries;
        }
        if (entries != 1000 + 100000)
            state.SkipWithError("the tree is not complete");
    }
}

BENCHMARK(BM_PathCheck)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StandardListing)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
