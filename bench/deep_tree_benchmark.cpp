// The batch's engine over a chain of folders LEVELS deep, against
// `find ROOT -name '*.mxm'` over the same tree, in turns. The chain holds a
// material at every hundredth level and at the bottom, far below the longest
// path the system takes, and every one of them must be logged. The engine
// runs without a window (events are not pumped), as a test drives it.
//
//   deep_tree_benchmark [--runs N] LEVELS...   (default 3 runs, 1000 5000)
#include "BatchRun.h"
#include "MaterialBytes.h"
#include "MaxwellFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
const std::string root = "/tmp/mxm-deep-tree-benchmark";
constexpr int materialEvery = 100;

// Nothing is shown; a failed write ends the measurement.
struct Unseen : BatchView {
    void letEventsThrough() override {}
    bool stopAsked() const override { return false; }
    void showFile(const std::string&, int32_t, int32_t, const std::string&) override {}
    void showFailure(const std::string& message) override { throw std::runtime_error(message); }
};

void writeAt(int folder, const std::string& name, const std::string& bytes) {
    const int fd = ::openat(folder, name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != ssize_t(bytes.size()))
        throw std::runtime_error("cannot write " + name);
    ::close(fd);
}

// The chain, made one level at a time from descriptors: its paths are too
// long for the system. Returns the number of materials in it.
int makeChain(int levels) {
    if (std::system(("rm -rf '" + root + "' && mkdir -p '" + root + "'").c_str()) != 0)
        throw std::runtime_error("cannot make " + root);
    const std::string material = MaterialBytes()
                                     .marker()
                                     .string("Deep")
                                     .preview(200, 200)
                                     .middle()
                                     .record("/nowhere/a.jpg", "p0")
                                     .bytes();
    int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC), materials = 0;
    for (int level = 1; level <= levels; ++level) {
        ::mkdirat(fd, "level", 0755);
        const int next = ::openat(fd, "level", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ::close(std::exchange(fd, next));
        if (fd < 0)
            throw std::runtime_error("a folder of the chain could not be made");
        if (level % materialEvery == 0 || level == levels) {
            writeAt(fd, std::to_string(level) + ".mxm", material);
            ++materials;
        }
    }
    ::close(fd);
    return materials;
}

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double batchSeconds(int materials) {
    Unseen view;
    BatchRun run(makeRef<FolderItem>(root), BatchSettings{}, view);
    const Clock::time_point start = Clock::now();
    const int32_t counted = run.count();
    run.walk();
    const double seconds = secondsSince(start);
    if (counted != materials || run.notWritten() != 0)
        throw std::runtime_error("the batch counted " + std::to_string(counted) + " of " +
                                 std::to_string(materials) + " materials");
    return seconds;
}

double findSeconds() {
    const Clock::time_point start = Clock::now();
    if (std::system(("find '" + root + "' -name '*.mxm' > /dev/null").c_str()) != 0)
        throw std::runtime_error("find failed");
    return secondsSince(start);
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void measure(int levels, int runs) {
    const int materials = makeChain(levels);
    std::vector<double> batch, find;
    for (int i = 0; i < runs; ++i) {
        batch.push_back(batchSeconds(materials));
        find.push_back(findSeconds());
    }
    const auto [blo, bhi] = std::minmax_element(batch.begin(), batch.end());
    const auto [flo, fhi] = std::minmax_element(find.begin(), find.end());
    std::printf("%6d levels, %3d materials: batch %.3f s (%.3f-%.3f), find %.3f s (%.3f-%.3f)\n",
                levels, materials, median(batch), *blo, *bhi, median(find), *flo, *fhi);
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    int runs = 3;
    if (args.size() >= 2 && args[0] == "--runs") {
        runs = std::max(1, std::stoi(args[1]));
        args.erase(args.begin(), args.begin() + 2);
    }
    if (args.empty())
        args = {"1000", "5000"};
    MaxwellFiles::Initialize();
    int status = 0;
    try {
        std::printf("Median and range of %d runs each, batch and find in turns:\n", runs);
        for (const std::string& levels : args)
            measure(std::stoi(levels), runs);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "deep_tree_benchmark: %s\n", error.what());
        status = 1;
    }
    std::system(("rm -rf '" + root + "'").c_str());
    return status;
}
