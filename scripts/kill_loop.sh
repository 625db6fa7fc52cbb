#!/usr/bin/env bash
# Kills a saving process at random moments, in place (a file with two names)
# and by rename, on the system's disk (/tmp) and on tmpfs (/dev/shm), at
# 1 MB and at a material's size, then opens or saves the file again and
# counts the mixtures; then reads one file in a loop while two processes
# save it in place. KILLS (default 200) kills per kind, RACE_SECONDS
# (default 10) for the race; SLOW=1 makes each save linger a millisecond
# before each step, so that more kills fall between steps. Fails on any
# mixture or torn read through the program's reader.
set -euo pipefail
cd "$(dirname "$0")/.."

kills=${KILLS:-200}
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DMXM_BENCH=ON -DMXM_BUILD_APP=OFF >/dev/null
cmake --build build-bench -j"$(nproc)" --target save_kill_loop
loop=build-bench/bench/save_kill_loop

status=0
for base in /tmp /dev/shm; do
    folder=$(mktemp -d "$base/mxm-kill-XXXXXX")
    for size in 1000000 130000; do
        for kind in inplace rename; do
            "$loop" "$folder" "$kind" "$size" "$kills" || status=1
        done
    done
    "$loop" "$folder" race 1000000 "${RACE_SECONDS:-10}" || status=1
    rm -rf "$folder"
done
exit $status
