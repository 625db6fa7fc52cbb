#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it. Arguments are
# handed to the program: material files to open.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DMXM_TESTS=OFF >/dev/null
cmake --build build-release -j"$(nproc)" --target mxmtool
exec ./build-release/app/mxmtool "$@"
