#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them. First the headline: the
# batch through the program's real window against `cp -r` + `sync` and a
# sequential script (scripts/bench_window.sh; WINDOW_ROUNDS, default 7).
# Then the diagnostics: reading plus writing a material against copying the
# same bytes with the standard library; the path check against
# `find TREE -type f` over trees of 10,000, 100,000 and 1,000,000 files
# (made under /tmp and removed afterwards); the batch's engine over chains
# of 1,000 and 5,000 folders against `find`; the batch window in-process
# over 1,000 materials (scripts/bench_batch.sh).
# Arguments go to the material benchmark; CHECK_ARGS to the path check, for
# example CHECK_ARGS="--runs 9 --cold 100000" (--cold needs root);
# DEEP_ARGS to the deep chains, for example DEEP_ARGS="--runs 5 1000 5000";
# BATCH_ROUNDS to the in-process batch (default 5).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/bench_window.sh "${WINDOW_ROUNDS:-7}"
bash scripts/install-deps.sh

export QT_QPA_PLATFORM=offscreen
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DMXM_BENCH=ON -DMXM_BUILD_APP=OFF >/dev/null
cmake --build build-bench -j"$(nproc)" --target material_benchmark
build-bench/bench/material_benchmark "$@"
# shellcheck disable=SC2086
build-bench/bench/material_benchmark --check-against-find ${CHECK_ARGS:-}
cmake --build build-bench -j"$(nproc)" --target deep_tree_benchmark
# shellcheck disable=SC2086
build-bench/bench/deep_tree_benchmark ${DEEP_ARGS:-}

bash scripts/bench_batch.sh "${BATCH_ROUNDS:-5}"
