// Reading plus writing a material against copying its bytes with the standard
// library. Both sides make the same durability calls: the new bytes go to a
// temporary file that is flushed to disk, renamed over the target, and the
// folder is flushed too.
#include "BinaryStream.h"
#include "FolderItem.h"
#include "MaterialBytes.h"
#include "TempFolder.h"
#include "mxmFile.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

std::string material(int records, size_t blockSize) {
    MaterialBytes bytes;
    bytes.marker().string("oak").preview(200, 200).middle();
    for (int i = 0; i < records; ++i) {
        std::string block(blockSize, 'p');
        block.replace(block.size() - 6, 6, "bitmap");
        bytes.record("/Volumes/Data/textures/wood/oak_" + std::to_string(i) + ".jpg", block);
    }
    return bytes.bytes();
}

const std::string& typicalMaterial() {
    static const std::string bytes = material(40, 1000);
    return bytes;
}

const std::string& largeMaterial() {
    static const std::string bytes = material(1000, 10 * 1024 * 1024 / 1000);
    return bytes;
}

void flushToDisk(const std::string& path, int flags) {
    const int fd = ::open(path.c_str(), flags);
    ::fsync(fd);
    ::close(fd);
}

void copyWithStandardLibrary(const std::string& from, const std::string& to) {
    std::ifstream in(from, std::ios::binary | std::ios::ate);
    std::string bytes(static_cast<size_t>(in.tellg()), '\0');
    in.seekg(0);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    const std::string temporary = to + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    flushToDisk(temporary, O_RDONLY);
    std::filesystem::rename(temporary, to);
    flushToDisk(std::filesystem::path(to).parent_path(), O_RDONLY | O_DIRECTORY);
}

void readAndWrite(const Ref<FolderItem>& source, const Ref<FolderItem>& target) {
    Ref<BinaryStream> stream = BinaryStream::Open(source, false);
    mxmFile m(stream, source);
    stream->Close();
    if (!m.writeFile(target))
        throw std::runtime_error("could not write the material");
}

void BM_ReadWrite(benchmark::State& state, const std::string& bytes) {
    TempFolder temp;
    temp.makeFile("source.mxm", bytes);
    const Ref<FolderItem> source = temp.item("source.mxm");
    const Ref<FolderItem> target = temp.item("target.mxm");
    for (auto _ : state)
        readAndWrite(source, target);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}

void BM_StandardCopy(benchmark::State& state, const std::string& bytes) {
    TempFolder temp;
    const std::string source = temp.makeFile("source.mxm", bytes);
    const std::string target = temp.pathOf("target.mxm");
    for (auto _ : state)
        copyWithStandardLibrary(source, target);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}

BENCHMARK_CAPTURE(BM_ReadWrite, typical, typicalMaterial())
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_StandardCopy, typical, typicalMaterial())
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_ReadWrite, large, largeMaterial())
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_StandardCopy, large, largeMaterial())
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

BENCHMARK_MAIN();
