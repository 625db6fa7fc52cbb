// The batch window over 1,000 materials against `cp -r CORPUS COPY && sync`
// of the same folders, measured side by side in one run, on a quiet disk and
// on a disk kept busy by a parallel direct writer.
//
// Each measurement starts from a fresh copy of the corpus. The batch is the
// program's own window, offscreen, with the program started as the user
// starts it (its preferences in a temporary folder, dialogs answered from a
// script: any dialog fails the measurement), once with one write in flight
// and once with the window's default bound.
//
// A diagnostic: the headline figures come from the real program driven
// through its windows (scripts/bench_window.sh), which also uses two other
// modes of this one: making a corpus, and the one-file-at-a-time run whose
// files and log every measured run must match.
//
//   batch_benchmark [rounds]       (default 5; each round measures everything once)
//   batch_benchmark --make-corpus ROOT MATERIALS
//   batch_benchmark --reference ROOT COPY LOG   (the batch over COPY, one write
//                                                 in flight; its log into LOG)
#include "BatchCorpus.h"
#include "Clipboard.h"
#include "FolderItem.h"
#include "ProgressWindow.h"
#include "ScriptedDialogs.h"
#include "SearchLocations.h"
#include "Startup.h"
#include "TempFolder.h"
#include "Volumes.h"

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
#include <optional>
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

// The batch window over the fresh copy, with at most maxInFlight writes in
// flight; its log as the clipboard holds it.
std::string batchWindow(size_t maxInFlight) {
    BatchSettings settings;
    settings.writesInFlight = maxInFlight;
    new ProgressWindow(makeRef<FolderItem>(copyRoot), settings);
    Window::deleteClosedWindows();
    return Clipboard::Text();
}

std::string fileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int occurrences(const std::string& text, const std::string& part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

// Every batch must rewrite the paths of every material, write each one,
// show no dialog and log the same text, whatever the bound: a benchmark of
// other work would be worthless.
void verify(const std::string& log, const std::string& expectedLog,
            const ScriptedDialogs& dialogs) {
    if (occurrences(log, "Status 1 ***") != BatchCorpus::Materials)
        throw std::runtime_error("the batch logged " + std::to_string(occurrences(log, " ***")) +
                                 " materials");
    if (!dialogs.shown().empty())
        throw std::runtime_error("the batch showed a dialog: " + dialogs.shown().front().text);
    int unchanged = 0;
    for (const auto& entry : fs::recursive_directory_iterator(copyRoot))
        if (entry.is_regular_file() &&
            fileBytes(entry.path()) ==
                fileBytes(BatchCorpus::corpus(benchRoot) / fs::relative(entry.path(), copyRoot)))
            ++unchanged;
    if (unchanged != 0)
        throw std::runtime_error(std::to_string(unchanged) + " materials were not written");
    if (!expectedLog.empty() && log != expectedLog)
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

// One kind of work: what it needs on disk first, and its measurement in
// seconds.
struct Work {
    std::string name;
    std::function<void()> prepare;
    std::function<double()> measure;
};

std::vector<Work> allWork(const std::string& expectedLog, const ScriptedDialogs& dialogs) {
    std::vector<Work> work;
    work.push_back({"cp -r + sync", [] { fs::remove_all(copyRoot); },
                    [] {
                        const Clock::time_point start = Clock::now();
                        shell(copyCommand());
                        return secondsSince(start);
                    }});
    for (const size_t bound : {size_t{1}, WriteQueue::DefaultMaxInFlight})
        work.push_back({"window, " + std::to_string(bound) + " in flight", freshCopy,
                        [&expectedLog, &dialogs, bound] {
                            const Clock::time_point start = Clock::now();
                            const std::string log = batchWindow(bound);
                            const double seconds = secondsSince(start);
                            verify(log, expectedLog, dialogs);
                            return seconds;
                        }});
    return work;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct Figures {
    std::vector<double> seconds, ratios;
};

void printFigures(const std::string& disk, const std::vector<Work>& work,
                  std::map<std::string, Figures>& figures) {
    std::printf("\n%s disk\n%-22s %9s %15s %10s %15s\n", disk.c_str(), "work", "median s",
                "min-max s", "x cp", "min-max x cp");
    for (const Work& w : work) {
        const Figures& f = figures[w.name];
        const auto [lo, hi] = std::minmax_element(f.seconds.begin(), f.seconds.end());
        const auto [rlo, rhi] = std::minmax_element(f.ratios.begin(), f.ratios.end());
        std::printf("%-22s %9.3f %7.3f-%-7.3f %10.2f %7.2f-%-7.2f\n", w.name.c_str(),
                    median(f.seconds), *lo, *hi, median(f.ratios), *rlo, *rhi);
    }
}

// The program as the user starts it, its preferences kept in a temporary
// folder, its checks searching the corpus's texture library, for as long as
// the object lives.
class Program {
  public:
    explicit Program(const fs::path& root)
        : library_{makeRef<FolderItem>(BatchCorpus::library(root))} {
        Volumes::setPreferencesRoot(preferences_.pathOf("prefs"));
        app_ = Startup::begin({});
        app_->Start();
        SearchLocations::setSearchLocationsSource([this]() -> const auto& { return library_; });
    }
    ~Program() {
        Startup::end(std::move(app_));
        Volumes::setPreferencesRoot("");
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

  private:
    const TempFolder preferences_;
    const SearchLocations::FolderList library_;
    std::unique_ptr<App> app_;
};

// The batch over a copy of a corpus as one file at a time runs it: what
// every faster run must write and log.
void reference(const fs::path& root, const fs::path& copy, const fs::path& logFile) {
    const ScriptedDialogs dialogs;
    const Program program(root);
    BatchSettings settings;
    settings.writesInFlight = 1;
    new ProgressWindow(makeRef<FolderItem>(copy), settings);
    Window::deleteClosedWindows();
    if (!dialogs.shown().empty())
        throw std::runtime_error("the batch showed a dialog: " + dialogs.shown().front().text);
    std::ofstream(logFile, std::ios::binary) << Clipboard::Text();
}

// Each round measures every work once on both disks, in an order that
// shifts from round to round, so that the load of the shared machine falls
// on all of them alike.
void run(int rounds) {
    BatchCorpus::makeOnce(benchRoot);
    const ScriptedDialogs dialogs;
    std::optional<Program> program(std::in_place, benchRoot);

    freshCopy();
    const std::string expectedLog = batchWindow(WriteQueue::DefaultMaxInFlight);
    verify(expectedLog, "", dialogs);

    const std::vector<Work> work = allWork(expectedLog, dialogs);
    std::map<std::string, std::map<std::string, Figures>> figures;
    for (int round = 0; round < rounds; ++round) {
        for (const bool busy : {round % 2 == 1, round % 2 == 0}) {
            const std::string disk = busy ? "busy" : "quiet";
            double copySeconds = 0;
            for (size_t k = 0; k < work.size(); ++k) {
                const Work& w = work[(k + static_cast<size_t>(round)) % work.size()];
                w.prepare();
                std::unique_ptr<DiskLoad> load = busy ? std::make_unique<DiskLoad>() : nullptr;
                const double seconds = w.measure();
                load.reset();
                figures[disk][w.name].seconds.push_back(seconds);
                if (&w == &work[0])
                    copySeconds = seconds;
            }
            for (const Work& w : work) {
                Figures& f = figures[disk][w.name];
                f.ratios.push_back(f.seconds.back() / copySeconds);
            }
        }
        std::fprintf(stderr, "round %d of %d done\n", round + 1, rounds);
    }
    fs::remove_all(copyRoot);
    program.reset();

    std::printf("Diagnostic (in-process, offscreen, warm caches): batch window over %d materials "
                "of about 160 KB against cp -r + sync of the "
                "same folders: %d rounds, medians and min-max; x cp = time / cp -r + sync of "
                "the same round.\n",
                BatchCorpus::Materials, rounds);
    for (const char* disk : {"quiet", "busy"})
        printFigures(disk, work, figures[disk]);
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    int status = 0;
    try {
        if (args.size() == 3 && args[0] == "--make-corpus")
            BatchCorpus::makeOnce(args[1], std::stoi(args[2]));
        else if (args.size() == 4 && args[0] == "--reference")
            reference(args[1], args[2], args[3]);
        else
            run(args.empty() ? 5 : std::max(1, std::stoi(args[0])));
    } catch (const std::exception& error) {
        fs::remove_all(copyRoot);
        std::fprintf(stderr, "batch_benchmark: %s\n", error.what());
        status = 1;
    }
    // The offscreen application that the dialog script made belongs to the
    // test framework, which would release it at exit after Qt's own state:
    // the process ends here instead.
    std::fflush(stdout);
    std::_Exit(status);
}
