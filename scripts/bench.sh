#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them: reading plus writing a
# material against copying the same bytes with the standard library.
# Also: a path check of 50 missing files in a 100,000-file tree against one plain listing of it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

export QT_QPA_PLATFORM=offscreen
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DMXM_BENCH=ON -DMXM_BUILD_APP=OFF >/dev/null
cmake --build build-bench -j"$(nproc)" --target material_benchmark
build-bench/tests/bench/material_benchmark "$@"
