// Reading plus writing a material against copying its bytes with the standard
// library. Both sides make the same durability calls: the new bytes go to a
// temporary file that is flushed to disk, renamed over the target, and the
// folder is flushed too.
//
// Also the path check of a material with 50 missing paths in a large folder
// tree, against one plain recursive listing of the same tree with the
// standard library. Half the files are somewhere in the tree, half nowhere,
// so the check has to walk all of it. The tree is made once and kept in /tmp.
#include "BinaryStream.h"
#include "FolderItem.h"
#include "MaterialBytes.h"
#include "TempFolder.h"
#include "mxmFile.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

namespace fs = std::filesystem;
using benchmark::kMillisecond;

// A 200 x 200 preview, then records of blockSize bytes each.
std::string material(int records, size_t blockSize) {
    MaterialBytes bytes;
    bytes.marker().string("oak").preview(200, 200).middle();
    const std::string block = std::string(blockSize - 6, 'p') + "bitmap";
    for (int i = 0; i < records; ++i)
        bytes.record("/Volumes/Data/textures/wood/oak_" + std::to_string(i) + ".jpg", block);
    return bytes.bytes();
}

void flushToDisk(const fs::path& path, int flags) {
    const int fd = ::open(path.c_str(), flags);
    ::fsync(fd);
    ::close(fd);
}

void BM_ReadWrite(benchmark::State& state, const std::string& bytes) {
    TempFolder temp;
    const Ref<FolderItem> source = makeRef<FolderItem>(temp.makeFile("source.mxm", bytes));
    for (auto _ : state) {
        Ref<BinaryStream> stream = BinaryStream::Open(source, false);
        mxmFile m(stream, source);
        stream->Close();
        if (!m.writeFile(temp.item("target.mxm")))
            throw std::runtime_error("could not write the material");
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}

void BM_StandardCopy(benchmark::State& state, const std::string& bytes) {
    TempFolder temp;
    const std::string source = temp.makeFile("source.mxm", bytes);
    const std::string target = temp.pathOf("target.mxm");
    const std::string temporary = temp.pathOf("target.mxm.tmp");
    for (auto _ : state) {
        fs::copy_file(source, temporary, fs::copy_options::overwrite_existing);
        flushToDisk(temporary, O_RDONLY);
        fs::rename(temporary, target);
        flushToDisk(temp.path(), O_RDONLY | O_DIRECTORY);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}

// Typical: 40 records of 1,000 bytes; large: 1,000 records of 10,485 bytes, 10 MiB.
BENCHMARK_CAPTURE(BM_ReadWrite, typical, material(40, 1000))->Unit(kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_StandardCopy, typical, material(40, 1000))->Unit(kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_ReadWrite, large, material(1000, 10485))->Unit(kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_StandardCopy, large, material(1000, 10485))->Unit(kMillisecond)->UseRealTime();

const fs::path treeRoot = "/tmp/mxm-search-benchmark-tree";
constexpr int groups = 10;
constexpr int foldersPerGroup = 99; // 10 groups + 990 folders = 1,000 folders
constexpr int folders = groups + groups * foldersPerGroup;
constexpr int filesPerFolder = 100; // 100,000 files
constexpr int missingPaths = 50;

std::string fileName(int folder, int file) {
    return "tex_" + std::to_string(folder) + "_" + std::to_string(file) + ".png";
}

// Folder i of the tree: the groups first, then the folders of each group in turn.
fs::path folderOf(const fs::path& root, int i) {
    if (i < groups)
        return root / ("group_" + std::to_string(i));
    return folderOf(root, (i - groups) / foldersPerGroup) /
           ("folder_" + std::to_string((i - groups) % foldersPerGroup));
}

// Built under a temporary name and renamed into place, so that a tree at
// treeRoot is always complete.
void makeTreeOnce() {
    if (fs::exists(treeRoot))
        return;
    const fs::path building = treeRoot.string() + "." + std::to_string(::getpid());
    for (int folder = 0; folder < folders; ++folder) {
        fs::create_directories(folderOf(building, folder));
        for (int file = 0; file < filesPerFolder; ++file)
            std::ofstream(folderOf(building, folder) / fileName(folder, file)) << "t";
    }
    if (std::rename(building.c_str(), treeRoot.c_str()) != 0) // another run was first
        fs::remove_all(building);
}

void BM_PathCheck(benchmark::State& state) {
    makeTreeOnce();
    // Stored paths on a volume that is gone: even numbers name files spread
    // over the tree, odd numbers files that exist nowhere.
    MaterialBytes bytes;
    bytes.marker().string("oak").preview(200, 200).middle();
    for (int i = 0; i < missingPaths; i += 2)
        bytes
            .record("/Volumes/Gone/textures/" + fileName(i * folders / missingPaths, i), "p bitmap")
            .record("/Volumes/Gone/textures/nowhere_" + std::to_string(i + 1) + ".png", "p bitmap");
    const Ref<FolderItem> file = makeRef<FolderItem>((treeRoot / "oak.mxm").string());
    for (auto _ : state) {
        int32_t status = 0;
        const std::string report =
            mxmFile(makeRef<BinaryStream>(bytes.bytes()), file).ResetPaths(status);
        int found = 0;
        for (size_t at = 0; (at = report.find("Path changed", at)) != std::string::npos; ++at)
            ++found;
        if (status != 3 || found != missingPaths / 2) {
            state.SkipWithError("the check did not find what it should");
            break;
        }
    }
}

void BM_StandardListing(benchmark::State& state) {
    makeTreeOnce();
    for (auto _ : state)
        if (std::distance(fs::recursive_directory_iterator(treeRoot), {}) !=
            folders * (1 + filesPerFolder)) {
            state.SkipWithError("the tree is not complete");
            break;
        }
}

BENCHMARK(BM_PathCheck)->Unit(kMillisecond)->UseRealTime();
BENCHMARK(BM_StandardListing)->Unit(kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
