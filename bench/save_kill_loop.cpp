// Kills a process that saves one file over and over, at random moments,
// then opens or saves the file as the program would next time, and counts
// the mixtures of two versions that a name shows afterwards:
//
//   save_kill_loop FOLDER inplace|rename SIZE KILLS
//
// "inplace" gives the file a second name, so that it is written in place;
// "rename" saves it by renaming a new file over it. Each version is one
// byte repeated, its length telling it apart from the neighbouring ones.
//
//   save_kill_loop FOLDER race SIZE SECONDS
//
// Two processes save one file with two names in place while this one reads
// it in a loop, through the program's reader and as another program would.
// With SLOW set, the saves linger a millisecond before each step.
#include "AtomicWrite.h"
#include "BinaryStream.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <thread>

#include <dirent.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

std::string version(size_t size, long k) {
    return std::string(size + size_t(k % 2) * size / 10, char('a' + k % 26));
}

bool isVersion(const std::string& bytes, size_t size) {
    return !bytes.empty() && bytes.find_first_not_of(bytes[0]) == std::string::npos &&
           bytes == version(size, bytes[0] - 'a');
}

std::string rawBytes(const std::string& path) {
    std::ostringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    return bytes.str();
}

std::string readThroughProgram(const std::string& path) {
    const Ref<BinaryStream> stream = BinaryStream::Open(makeRef<FolderItem>(path), false);
    return stream ? stream->Read(stream->Length()) : std::string();
}

int copiesLeft(const std::string& folder) {
    int count = 0;
    DIR* listing = ::opendir(folder.c_str());
    while (const dirent* entry = listing ? ::readdir(listing) : nullptr)
        count += std::string(entry->d_name).starts_with(".mxmtool-backup");
    if (listing)
        ::closedir(listing);
    return count;
}

// Lingers a millisecond before each step of a save, so that more kills
// fall between its steps (SLOW=1).
struct Linger : WriteProbe {
    int before(WriteStep) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return 0;
    }
};

WriteProbe* lingerWhenSlow() {
    static Linger linger;
    return std::getenv("SLOW") ? &linger : nullptr;
}

pid_t saveForever(const std::string& path, size_t size, long first) {
    const pid_t child = ::fork();
    if (child == 0)
        for (long k = first;; ++k)
            replaceFileContent(path, version(size, k), std::nullopt, lingerWhenSlow());
    return child;
}

// Fails the step after a leftover copy was restored, so that the next save
// shows what it restored.
struct Refuse : WriteProbe {
    explicit Refuse(WriteStep refused) : step(refused) {}
    int before(WriteStep reached) override { return reached == step ? EIO : 0; }
    WriteStep step;
};

int killLoop(const std::string& folder, bool inPlace, size_t size, int kills) {
    const std::string path = folder + "/a.mxm", other = folder + "/b.mxm";
    std::remove(other.c_str());
    replaceFileContent(path, version(size, 0));
    if (inPlace && ::link(path.c_str(), other.c_str()) != 0)
        return 1;
    const Clock::time_point start = Clock::now();
    for (long k = 1; k <= 5; ++k)
        replaceFileContent(path, version(size, k), std::nullopt, lingerWhenSlow());
    const auto save = (Clock::now() - start) / 5;
    std::mt19937 random(12345);
    int mixedOnDisk = 0, mixtures = 0, left = 0;
    for (int i = 0; i < kills; ++i) {
        const pid_t saver = saveForever(path, size, 1000L * i + 1);
        std::this_thread::sleep_for(
            std::uniform_int_distribution<int64_t>(0, 3 * save.count())(random) * save /
            save.count());
        ::kill(saver, SIGKILL);
        ::waitpid(saver, nullptr, 0);
        mixedOnDisk += !isVersion(rawBytes(path), size);
        std::string after;
        if (i % 2 == 0) {
            after = readThroughProgram(inPlace ? other : path);
        } else {
            Refuse refuse(inPlace ? WriteStep::Backup : WriteStep::Rename);
            replaceFileContent(path, version(size, 1), std::nullopt, &refuse);
            after = rawBytes(inPlace ? other : path);
        }
        mixtures += !isVersion(after, size);
        left += copiesLeft(folder);
    }
    std::printf("%s, %zu bytes, %s: %d kills (save %.1f ms), %d mixed on disk before the next "
                "open or save, %d mixtures after it, %d copies left after it\n",
                inPlace ? "in place" : "rename", size, folder.c_str(), kills,
                std::chrono::duration<double, std::milli>(save).count(), mixedOnDisk, mixtures,
                left);
    return mixtures == 0 && left == 0 ? 0 : 2;
}

int race(const std::string& folder, size_t size, int seconds) {
    const std::string path = folder + "/a.mxm", other = folder + "/b.mxm";
    std::remove(other.c_str());
    replaceFileContent(path, version(size, 0));
    if (::link(path.c_str(), other.c_str()) != 0)
        return 1;
    const pid_t savers[] = {saveForever(path, size, 1), saveForever(other, size, 100000001)};
    int reads = 0, refused = 0, torn = 0, rawReads = 0, rawTorn = 0;
    for (const auto end = Clock::now() + std::chrono::seconds(seconds); Clock::now() < end;) {
        const std::string bytes = readThroughProgram(other);
        ++reads;
        refused += bytes.empty(); // the saves held the file longer than the lock's patience
        torn += !bytes.empty() && !isVersion(bytes, size);
        ++rawReads;
        rawTorn += !isVersion(rawBytes(other), size);
    }
    for (const pid_t saver : savers) {
        ::kill(saver, SIGKILL);
        ::waitpid(saver, nullptr, 0);
    }
    std::printf("two savers in place, %zu bytes, %s, %d s: %d of %d reads through the program "
                "torn, %d refused after waiting; %d of %d plain reads (another program's) torn\n",
                size, folder.c_str(), seconds, torn, reads, refused, rawTorn, rawReads);
    return torn == 0 ? 0 : 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s FOLDER inplace|rename|race SIZE KILLS|SECONDS\n", argv[0]);
        return 1;
    }
    const std::string folder = argv[1], kind = argv[2];
    const size_t size = std::stoul(argv[3]);
    const int count = std::stoi(argv[4]);
    if (kind == "race")
        return race(folder, size, count);
    return killLoop(folder, kind == "inplace", size, count);
}
