#pragma once

// The path check of a material with 50 missing paths, 25 of them somewhere
// in a large tree and 25 nowhere (so the whole tree is walked), against one
// `find TREE -type f` over the same tree. The two run in turns, so that the
// load of a shared machine falls on both alike; each is a process of its
// own, timed from within for the check (its set-up left out).
//
//   material_benchmark --check-against-find [--runs N] [--cold] [FILES ...]
//
// FILES are tree sizes (default 10000 100000 1000000), 100 files a folder,
// with file names of 20 to 30 bytes as textures have. --cold empties the
// system's file cache before every run (needs root). Prints, per size, the
// median and the range of each side, the ratio of the medians, and the most
// memory the check took beyond what the process held before it, beside the
// bytes of all names in the tree. Trees are made under /tmp and removed.
// What any check costs once per process (about 3 MB: library code paged in,
// the heap's first growth) is left out: a check of one folder of the tree
// runs first, its freed memory is given back, and only then is the starting
// point taken.

#include "BinaryStream.h"
#include "FolderItem.h"
#include "MaterialBytes.h"
#include "mxmFile.h"

#include <fcntl.h>
#include <malloc.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

extern char** environ;

namespace CheckAgainstFind {

namespace fs = std::filesystem;

constexpr int filesPerFolder = 100;
constexpr int missingPaths = 50;

// Names as texture files have them, 22 to 30 bytes: "oak_planks_diffuse_0412.jpg".
// Above 640,000 files they repeat, as names do in a texture library.
inline std::string textureName(int i) {
    static const char* const materials[] = {"oak_planks",  "brick_wall", "marble_tile",
                                            "rusty_metal", "concrete",   "walnut_wood",
                                            "linen_cloth", "slate_roof"};
    static const char* const maps[] = {"diffuse", "normal", "roughness", "specular",
                                       "bump",    "gloss",  "displace",  "occlusion"};
    static const char* const extensions[] = {".jpg", ".png", ".tif"};
    char number[16];
    std::snprintf(number, sizeof number, "_%04d", i / 64 % 10000);
    return std::string(materials[i % 8]) + "_" + maps[(i / 8) % 8] + number + extensions[i % 3];
}

// Folder k of a tree: "set_G/folder_K", a hundred folders to a set.
inline fs::path folderOf(const fs::path& root, int k) {
    return root / ("set_" + std::to_string(k / 100)) / ("folder_" + std::to_string(k % 100));
}

struct Tree {
    fs::path root;
    int files = 0;
    int64_t nameBytes = 0; // every file and folder name in the tree

    explicit Tree(int fileCount)
        : root("/tmp/mxm-check-bench-" + std::to_string(::getpid()) + "-" +
               std::to_string(fileCount)),
          files(fileCount) {
        const int folders = files / filesPerFolder;
        for (int k = 0; k < folders; ++k) {
            const fs::path folder = folderOf(root, k);
            if (fs::create_directories(folder))
                nameBytes += static_cast<int64_t>(folder.filename().string().size());
            for (int f = 0; f < filesPerFolder; ++f) {
                const std::string name = textureName(k * filesPerFolder + f);
                std::ofstream(folder / name);
                nameBytes += static_cast<int64_t>(name.size());
            }
        }
        nameBytes += static_cast<int64_t>(folders / 100 + 1) * 6;
    }
    ~Tree() { fs::remove_all(root); }
    Tree(const Tree&) = delete;
    Tree& operator=(const Tree&) = delete;
};

// Stored paths on a volume that is gone: even numbers name files spread
// over the tree, odd numbers files that exist nowhere.
inline std::string materialBytes(int files) {
    MaterialBytes bytes;
    bytes.marker().string("oak").preview(200, 200).middle();
    for (int i = 0; i < missingPaths; i += 2)
        bytes
            .record("/Volumes/Gone/textures/" + textureName(i * (files / missingPaths) + 7),
                    "p bitmap")
            .record("/Volumes/Gone/textures/nowhere_" + textureName(i + 1), "p bitmap");
    return bytes.bytes();
}

inline double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Runs the program with its output into the file descriptor out (or
// /dev/null); throws unless it ends well.
inline void runProgram(std::vector<std::string> args, int out = -1) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (out < 0)
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    else
        posix_spawn_file_actions_adddup2(&actions, out, 1);
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    int status = 0;
    const bool ran = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0 &&
                     ::waitpid(child, &status, 0) == child && status == 0;
    posix_spawn_file_actions_destroy(&actions);
    if (!ran)
        throw std::runtime_error(args[0] + " failed");
}

inline double timeFind(const Tree& tree) {
    const auto start = std::chrono::steady_clock::now();
    runProgram({"/usr/bin/find", tree.root.string(), "-type", "f"});
    return secondsSince(start);
}

// A line of /proc/self/status ("VmHWM:  1234 kB") in bytes.
inline int64_t statusBytes(const std::string& key) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(key + ":", 0) == 0)
            return std::stoll(line.substr(key.size() + 1)) * 1024;
    return 0;
}

struct CheckRun {
    double seconds;
    int64_t extraBytes;
};

// The report of the path check of the material as if it lay in folder.
inline std::string checkReport(const std::string& bytes, const fs::path& folder, int32_t& status) {
    return mxmFile(makeRef<BinaryStream>(std::make_shared<const std::string>(bytes)),
                   makeRef<FolderItem>((folder / "oak.mxm").string()))
        .ResetPaths(status);
}

// One check in a process of its own (the program started with --check-once),
// so that its memory is measured from a fresh start, not in a heap that
// earlier runs have left in pieces. It prints its time and extra memory.
inline int checkOnce(const fs::path& root, int files) {
    const std::string bytes = materialBytes(files);
    int32_t status = 0;
    checkReport(bytes, folderOf(root, 0), status);
    ::malloc_trim(0);
    // The peak of the process's memory starts again from what it holds now.
    std::ofstream("/proc/self/clear_refs") << "5";
    const int64_t before = statusBytes("VmRSS");
    const auto start = std::chrono::steady_clock::now();
    const std::string report = checkReport(bytes, root, status);
    const double seconds = secondsSince(start);
    int found = 0;
    for (size_t at = 0; (at = report.find("Path changed", at)) != std::string::npos; ++at)
        ++found;
    if (status != 3 || found != missingPaths / 2)
        return 1;
    std::printf("%.9f %lld\n", seconds, static_cast<long long>(statusBytes("VmHWM") - before));
    return 0;
}

inline CheckRun timeCheck(const Tree& tree) {
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        throw std::runtime_error("no pipe");
    runProgram({"/proc/self/exe", "--check-once", tree.root.string(), std::to_string(tree.files)},
               pipeEnds[1]);
    ::close(pipeEnds[1]);
    char text[128] = {};
    const ssize_t length = ::read(pipeEnds[0], text, sizeof text - 1);
    ::close(pipeEnds[0]);
    CheckRun run{};
    long long extra = 0;
    if (length <= 0 || std::sscanf(text, "%lf %lld", &run.seconds, &extra) != 2)
        throw std::runtime_error("the check did not find what it should");
    run.extraBytes = extra;
    return run;
}

// Empties the system's file cache; false when that is not permitted.
inline bool dropCaches() {
    ::sync();
    std::ofstream control("/proc/sys/vm/drop_caches");
    return static_cast<bool>(control << "3" << std::flush);
}

struct Spread {
    double median, low, high;
};

inline Spread spreadOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    return {median, values.front(), values.back()};
}

inline std::string shown(const Spread& s) {
    char text[64];
    std::snprintf(text, sizeof text, "%8.1f (%.1f-%.1f)", s.median * 1000, s.low * 1000,
                  s.high * 1000);
    return text;
}

inline int run(int argc, char** argv) {
    int runs = 7;
    bool cold = false;
    std::vector<int> sizes;
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--runs" && i + 1 < argc)
            runs = std::max(1, std::stoi(argv[++i]));
        else if (arg == "--cold")
            cold = true;
        else
            sizes.push_back(std::max(filesPerFolder, std::stoi(arg)));
    }
    if (sizes.empty())
        sizes = {10000, 100000, 1000000};
    if (cold && !dropCaches()) {
        std::printf("The file cache cannot be emptied here (root needed): warm runs only.\n");
        cold = false;
    }
    std::printf("%s cache, %d runs each, find and check in turns; times in ms: median "
                "(lowest-highest)\n",
                cold ? "Cold" : "Warm", runs);
    std::printf("%9s %26s %26s %7s %12s %12s %8s\n", "files", "find -type f", "check", "ratio",
                "check extra", "name bytes", "extra/name");
    std::vector<double> findMedians, checkMedians;
    for (const int size : sizes) {
        const Tree tree(size);
        std::vector<double> finds, checks;
        int64_t extra = 0;
        timeFind(tree); // the first walk of a new tree reads what later runs find cached
        for (int r = 0; r < runs; ++r) {
            if (cold)
                dropCaches();
            finds.push_back(timeFind(tree));
            if (cold)
                dropCaches();
            const CheckRun check = timeCheck(tree);
            checks.push_back(check.seconds);
            extra = std::max(extra, check.extraBytes);
        }
        const Spread find = spreadOf(finds), check = spreadOf(checks);
        findMedians.push_back(find.median);
        checkMedians.push_back(check.median);
        std::printf("%9d %26s %26s %7.2f %10.1fMB %10.1fMB %8.2f\n", size, shown(find).c_str(),
                    shown(check).c_str(), check.median / find.median, extra / 1e6,
                    tree.nameBytes / 1e6, static_cast<double>(extra) / tree.nameBytes);
        std::fflush(stdout);
    }
    if (sizes.size() > 1)
        std::printf("growth %d -> %d files (%.0fx): find %.1fx, check %.1fx\n", sizes.front(),
                    sizes.back(), static_cast<double>(sizes.back()) / sizes.front(),
                    findMedians.back() / findMedians.front(),
                    checkMedians.back() / checkMedians.front());
    return 0;
}

} // namespace CheckAgainstFind
