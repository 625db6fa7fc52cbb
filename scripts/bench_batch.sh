#!/usr/bin/env bash
# Builds the batch benchmark in Release and runs it: the program's batch
# window (offscreen) over 1,000 materials of about 160 KB, with one write in
# flight and with its default bound, against `cp -r` + `sync` of the same
# folders, on a quiet disk and on one kept busy by a parallel direct writer.
# The corpus is made once under /tmp/mxm-batch-benchmark. Argument: the
# number of rounds (default 5).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DMXM_BENCH=ON -DMXM_BUILD_APP=ON >/dev/null
cmake --build build-bench -j"$(nproc)" --target batch_benchmark
build-bench/bench/batch_benchmark "$@"
