// Reading plus writing a material against copying its bytes with the standard
// library. Both sides make the same durability calls: the new bytes go to a
// temporary file that is flushed to disk, renamed over the target, and the
// folder is flushed too.
//
// With --check-against-find: the path check of a material with 50 missing
// paths (25 somewhere in a large tree, 25 nowhere, so the whole tree is
// walked) against one `find TREE -type f` of the same tree, run in turns in
// the same process; medians, spread, ratios and the check's extra memory.
// See CheckAgainstFind.h.
#include "BinaryStream.h"
#include "CheckAgainstFind.h"
#include "FolderItem.h"
#include "MaterialBytes.h"
#include "TempFolder.h"
#include "mxmFile.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
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

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--check-against-find")
        return CheckAgainstFind::run(argc - 2, argv + 2);
    if (argc == 4 && std::string(argv[1]) == "--check-once")
        return CheckAgainstFind::checkOnce(argv[2], std::stoi(argv[3]));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
