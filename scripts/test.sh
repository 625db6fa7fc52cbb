#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the plain build, the
# same tests under AddressSanitizer and UndefinedBehaviorSanitizer, then under
# ThreadSanitizer, and a short run of the reader's fuzz target. Needs no
# display.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export TSAN_OPTIONS=suppressions=$PWD/tests/tsan.supp:halt_on_error=1

echo "== Build and test"
cmake -S . -B build -DCMAKE_BUILD_TYPE=Debug -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

echo "== Build and test under the sanitizers"
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DMXM_SANITIZE=ON \
    -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
cmake --build build-sanitize -j"$jobs"
ctest --test-dir build-sanitize --output-on-failure -j"$jobs"

echo "== Build and test under ThreadSanitizer"
cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=Debug -DMXM_SANITIZE_THREAD=ON \
    -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
cmake --build build-tsan -j"$jobs"
# A cost bound says nothing of threads, and the instrumentation slows the one
# that adds to a long text twenty thousand times past it.
ctest --test-dir build-tsan --output-on-failure -j"$jobs" \
    -E '^ClipboardTest\.AddingToALongTextCostsLittle'

echo "== Fuzz the reader briefly"
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DMXM_FUZZ=ON -DMXM_BUILD_APP=OFF >/dev/null
cmake --build build-fuzz -j"$jobs" --target fuzz_reader
ctest --test-dir build-fuzz --output-on-failure -R '^fuzz_'
