#!/usr/bin/env bash
# Prints the functions of platform/ that the program never calls: builds the
# program with every function in a section of its own and lets the linker
# drop and name the sections nothing reaches. Only functions defined in
# platform's .cpp files are seen; inline functions of its headers are not.
# What it prints beyond the seams the tests use to drive and observe the
# program (volume table, preferences root, dialog script, list rows) has no
# caller and can go.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build-unused
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DMXM_TESTS=OFF \
    -DCMAKE_CXX_FLAGS=-ffunction-sections \
    "-DCMAKE_EXE_LINKER_FLAGS=-Wl,--gc-sections,--print-gc-sections" >/dev/null
# Relinked every time, so that the linker prints what it drops.
rm -f "$build/app/mxmtool"
cmake --build "$build" -j"${JOBS:-$(nproc)}" --target mxmtool 2>&1 |
    sed -nE "s/.*removing unused section '\.text\.([^'[]*)' in file '[^']*libplatform_[a-z]+\.a\(([^)]*)\.o\)'.*/\2 \1/p" |
    while read -r file symbol; do
        echo "$file: $(c++filt "$symbol")"
    done |
    sed -e 's/(anonymous namespace):://g' -e 's/\[abi:cxx11\]//g' \
        -e 's/std::__cxx11::basic_string<char, std::char_traits<char>, std::allocator<char> >/std::string/g' |
    # Standard library templates and lambdas of the dropped functions.
    grep -vE '^[^:]*: ([^(]*[ :])?std::|\{lambda' |
    sort -u
