// The batch over 1,000 materials against `cp -r CORPUS COPY && sync` of the
// same folders, measured side by side in one run, on a quiet disk and on a
// disk kept busy by a parallel direct writer.
//
// Each measurement starts from a fresh copy of the corpus. The batch does
// what the batch window does per file (count, walk, read, check, log, write
// durably), without the window: once with each write finished before the
// next file is read, as the window does it, and once with the writes going
// through a WriteQueue at several bounds. The GUI column is the time the
// calling thread spent not waiting for a write: the walk, the reads and the
// checks (and, with a queue, building each file's bytes), which no queue
// shortens.
//
//   batch_benchmark [rounds]       (default 5; each round measures everything once)
#include "BatchCorpus.h"
#include "BinaryStream.h"
#include "FolderItem.h"
#include "MaxwellFiles.h"
#include "SearchCache.h"
#include "SearchLocations.h"
#include "Text.h"
#include "WriteQueue.h"
#include "mxmFile.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

const fs::path benchRoot = "/tmp/mxm-batch-benchmark";
const fs::path copyRoot = "/tmp/mxm-batch-benchmark-copy";
const size_t inFlightBounds[] = {1, 2, 4, 8, 16, 32};

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void shell(const std::string& command) {
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("failed: " + command);
}

std::string copyCommand() {
    return "cp -r '" + BatchCorpus::corpus(benchRoot).string() + "' '" + copyRoot.string() +
           "' && sync";
}

// A fresh copy on disk, with nothing of it or of the last run still waiting
// to be written.
void freshCopy() {
    fs::remove_all(copyRoot);
    shell(copyCommand());
}

// The batch window's walk: a folder's materials in entry order, then its
// subfolders, depth first.
void walk(const Ref<FolderItem>& folder, const std::function<void(const Ref<FolderItem>&)>& visit) {
    std::vector<Ref<FolderItem>> subfolders;
    const int n = folder->Count();
    for (int i = 1; i <= n; ++i) {
        const Ref<FolderItem> entry = folder->Item(i);
        if (entry->Directory())
            subfolders.push_back(entry);
        else if (StringEquals(entry->Type(), MaxwellFiles::MaxwellMaterial()->Name()) &&
                 entry->Visible() && StringEquals(Right(entry->Name(), 4), ".mxm"))
            visit(entry);
    }
    for (const Ref<FolderItem>& subfolder : subfolders)
        walk(subfolder, visit);
}

struct BatchRun {
    std::string log;
    int files = 0;
    int written = 0;
    // Time the calling thread spent waiting for writes.
    double waitedSeconds = 0;
};

// The batch window's work on one file up to the write: read, log, check.
// Nothing when the file holds no material.
std::unique_ptr<mxmFile> readAndCheck(const Ref<FolderItem>& file, BatchRun& run) {
    ++run.files;
    const Ref<BinaryStream> stream = BinaryStream::Open(file, true);
    if (!stream || stream->Length() == 0)
        return nullptr;
    auto material = std::make_unique<mxmFile>(stream, file);
    stream->Close();
    if (!material->isMXM)
        return nullptr;
    int32_t status = 0;
    run.log += file->Name() + "  ::   " + material->getMaterialName() + ": ";
    const std::string report = material->ResetPaths(status);
    run.log += report + "Status " + std::to_string(status) + " ***";
    return material;
}

void batchOneAtATime(BatchRun& run) {
    walk(makeRef<FolderItem>(copyRoot), [&](const Ref<FolderItem>& file) {
        if (const auto material = readAndCheck(file, run)) {
            const Clock::time_point writing = Clock::now();
            run.written += material->writeFile(file);
            run.waitedSeconds += secondsSince(writing);
        }
    });
}

void takeOldest(WriteQueue& writes, BatchRun& run) {
    const Clock::time_point waiting = Clock::now();
    run.written += writes.takeOldest();
    run.waitedSeconds += secondsSince(waiting);
}

// As the window will do it: the bytes are built on the calling thread, only
// the durable write runs on a worker, and results are taken in walk order.
void batchThroughQueue(BatchRun& run, size_t maxInFlight) {
    WriteQueue writes(maxInFlight);
    walk(makeRef<FolderItem>(copyRoot), [&](const Ref<FolderItem>& file) {
        const auto material = readAndCheck(file, run);
        if (!material)
            return;
        material->mxm2TextureName->setString(Split(file->Name(), ".")[0]);
        if (writes.full())
            takeOldest(writes, run);
        // The worker gets a reference of its own: nothing is shared with this thread.
        writes.submit([target = FolderItem(file->NativePath()), bytes = material->fileBytes()] {
            return target.WriteAtomically(bytes);
        });
        while (writes.oldestDone())
            run.written += writes.takeOldest();
    });
    while (!writes.empty())
        takeOldest(writes, run);
}

struct Sample {
    double seconds;
    double guiSeconds;
};

int occurrences(const std::string& text, const std::string& part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

// Every batch must rewrite the paths of every material, write each one and
// log the same text, whatever the bound: a benchmark of other work would be
// worthless.
void verify(const BatchRun& run, const std::string& expectedLog) {
    if (run.files != BatchCorpus::Materials || run.written != run.files ||
        occurrences(run.log, "Status 1 ***") != run.files)
        throw std::runtime_error("the batch wrote " + std::to_string(run.written) + " of " +
                                 std::to_string(run.files) + " materials");
    if (run.log != expectedLog)
        throw std::runtime_error("the batch's log differs from the first run's");
}

// Keeps the disk busy with a direct writer, restarted whenever it ends,
// for as long as the object lives; its file is deleted afterwards.
class DiskLoad {
  public:
    DiskLoad() {
        const std::string loop = "while :; do dd if=/dev/zero of=" + file_ +
                                 " bs=1M count=4000 oflag=direct 2>/dev/null; done";
        const char* argv[] = {"sh", "-c", loop.c_str(), nullptr};
        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
        posix_spawnattr_setpgroup(&attributes, 0);
        const int error = posix_spawn(&pid_, "/bin/sh", nullptr, &attributes,
                                      const_cast<char* const*>(argv), environ);
        posix_spawnattr_destroy(&attributes);
        if (error != 0)
            throw std::runtime_error("cannot start the disk load");
        // Let the writer reach its pace before anything is measured.
        ::usleep(500'000);
    }
    ~DiskLoad() {
        ::kill(-pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        ::unlink(file_.c_str());
    }
    DiskLoad(const DiskLoad&) = delete;
    DiskLoad& operator=(const DiskLoad&) = delete;

  private:
    pid_t pid_ = 0;
    const std::string file_ = "/tmp/ddload." + std::to_string(::getpid());
};

// One kind of work: what it needs on disk first, and its measurement.
struct Work {
    std::string name;
    std::function<void()> prepare;
    std::function<Sample()> measure;
};

std::vector<Work> allWork(const std::string& expectedLog) {
    std::vector<Work> work;
    work.push_back({"cp -r + sync", [] { fs::remove_all(copyRoot); },
                    [] {
                        const Clock::time_point start = Clock::now();
                        shell(copyCommand());
                        return Sample{secondsSince(start), 0};
                    }});
    const auto batch = [&expectedLog](std::function<void(BatchRun&)> process) {
        return [&expectedLog, process] {
            // The window's run shares its searches' listings over all its files.
            const SearchCache::Scope searches;
            BatchRun run;
            const Clock::time_point start = Clock::now();
            process(run);
            const double seconds = secondsSince(start);
            verify(run, expectedLog);
            return Sample{seconds, seconds - run.waitedSeconds};
        };
    };
    work.push_back({"batch, one at a time", freshCopy, batch(batchOneAtATime)});
    for (const size_t bound : inFlightBounds)
        work.push_back({"batch, " + std::to_string(bound) + " in flight", freshCopy,
                        batch([bound](BatchRun& run) { batchThroughQueue(run, bound); })});
    return work;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct Figures {
    std::vector<double> seconds, ratios, guiSeconds;
};

void printFigures(const std::string& disk, const std::vector<Work>& work,
                  std::map<std::string, Figures>& figures) {
    std::printf("\n%s disk\n%-22s %9s %15s %10s %15s %8s\n", disk.c_str(), "work", "median s",
                "min-max s", "x cp", "min-max x cp", "GUI s");
    for (const Work& w : work) {
        const Figures& f = figures[w.name];
        const auto [lo, hi] = std::minmax_element(f.seconds.begin(), f.seconds.end());
        const auto [rlo, rhi] = std::minmax_element(f.ratios.begin(), f.ratios.end());
        std::printf("%-22s %9.3f %7.3f-%-7.3f %10.2f %7.2f-%-7.2f %8.3f\n", w.name.c_str(),
                    median(f.seconds), *lo, *hi, median(f.ratios), *rlo, *rhi,
                    median(f.guiSeconds));
    }
}

// Each round measures every work once on both disks, in an order that
// shifts from round to round, so that the load of the shared machine falls
// on all of them alike.
void run(int rounds) {
    BatchCorpus::makeOnce(benchRoot);
    const SearchLocations::FolderList library{makeRef<FolderItem>(BatchCorpus::library(benchRoot))};
    SearchLocations::setSearchLocationsSource([&library]() -> const auto& { return library; });

    freshCopy();
    BatchRun first;
    {
        const SearchCache::Scope searches;
        batchOneAtATime(first);
    }
    const std::string expectedLog = first.log;
    verify(first, expectedLog);

    const std::vector<Work> work = allWork(expectedLog);
    std::map<std::string, std::map<std::string, Figures>> figures;
    for (int round = 0; round < rounds; ++round) {
        for (const bool busy : {round % 2 == 1, round % 2 == 0}) {
            const std::string disk = busy ? "busy" : "quiet";
            double copySeconds = 0;
            for (size_t k = 0; k < work.size(); ++k) {
                const Work& w = work[(k + static_cast<size_t>(round)) % work.size()];
                w.prepare();
                std::unique_ptr<DiskLoad> load = busy ? std::make_unique<DiskLoad>() : nullptr;
                const Sample sample = w.measure();
                load.reset();
                Figures& f = figures[disk][w.name];
                f.seconds.push_back(sample.seconds);
                f.guiSeconds.push_back(sample.guiSeconds);
                if (&w == &work[0])
                    copySeconds = sample.seconds;
            }
            for (const Work& w : work) {
                Figures& f = figures[disk][w.name];
                f.ratios.push_back(f.seconds.back() / copySeconds);
            }
        }
        std::fprintf(stderr, "round %d of %d done\n", round + 1, rounds);
    }
    fs::remove_all(copyRoot);

    std::printf("Batch over %d materials of about 160 KB against cp -r + sync of the same "
                "folders: %d rounds, medians and min-max; x cp = time / cp -r + sync of the "
                "same round; GUI s = time the calling thread did not wait for writes.\n",
                BatchCorpus::Materials, rounds);
    for (const char* disk : {"quiet", "busy"})
        printFigures(disk, work, figures[disk]);
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    MaxwellFiles::Initialize();
    try {
        run(rounds);
    } catch (const std::exception& error) {
        fs::remove_all(copyRoot);
        std::fprintf(stderr, "batch_benchmark: %s\n", error.what());
        return 1;
    }
    MaxwellFiles::Release();
    return 0;
}
