#!/usr/bin/env bash
# The batch as a user meets it: the Release program in a real window under
# Xvfb, driven by keys (Ctrl+O, Return on the warning, the folder typed in
# the folder dialog, Return), timed from that Return to the unmap of the batch
# window. Side by side in each round, on the same corpus: `cp -r` + `sync`,
# and bench/batch_script.py (the same work done sequentially by a script).
# Every run starts from a fresh copy with the file cache emptied (root only;
# otherwise every figure is warm and says so), on a quiet disk and on one
# kept busy by a parallel `dd oflag=direct` writer. Every file the program or
# the script writes, and the program's log (read from the clipboard), must
# equal those of a one-file-at-a-time run of the same corpus.
#
#   bash scripts/bench_window.sh [rounds]     (default 7)
#   SIZES="250 1000 4000" (the default), BENCH_DIR=/tmp/mxm-window-bench,
#   SCRIPT_BUSY=1 also runs the script on the busy disk (slow: it is
#   compared on the quiet disk only).
#   bash scripts/bench_window.sh --linear     the program over 12,500 and
#   100,000 non-material ".mxm" files, 3 runs each, and the ratio.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD
rounds=${1:-7}
sizes=${SIZES:-250 1000 4000}
dir=${BENCH_DIR:-/tmp/mxm-window-bench}
build=build-bench

bash scripts/install-deps.sh --bench
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DMXM_BENCH=ON -DMXM_BUILD_APP=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target mxmtool batch_benchmark >/dev/null

cold=1
if ! { sync && echo 3 >/proc/sys/vm/drop_caches; } 2>/dev/null; then
    cold=0
    echo "The file cache cannot be emptied here (root needed): every figure below is WARM."
fi
drop_caches() {
    sync
    if [ "$cold" = 1 ]; then echo 3 >/proc/sys/vm/drop_caches; fi
}

mkdir -p "$dir/work" "$dir/prefs"
results=$dir/results.txt
: >"$results"
source scripts/xvfb_display.sh
cleanup() {
    stop_started
    rm -rf "$dir/work" "$dir/ddload"
}
trap cleanup EXIT

start_display

load=0
start_load() {
    setsid sh -c "while :; do dd if=/dev/zero of='$dir/ddload' bs=1M count=4000 oflag=direct 2>/dev/null; done" >/dev/null 2>&1 &
    load=$!
    sleep 0.5
}
stop_load() {
    kill -- "-$load" 2>/dev/null || true
    wait "$load" 2>/dev/null || true
    rm -f "$dir/ddload"
}

now() { date +%s.%N; }
elapsed() { awk -v end="$(now)" -v start="$1" 'BEGIN { printf "%.4f", end - start }'; }

fresh_copy() { # corpus copy
    rm -rf "$2"
    cp -r "$1" "$2"
}

# Same files as the one-file-at-a-time run, and the same log.
verify() { # copy log reference
    if ! diff -r -q "$3/tree" "$1" >/dev/null || ! cmp -s "$3/log" "$2"; then
        echo "MISMATCH: $1 or its log differs from the one-file-at-a-time run" >&2
        exit 1
    fi
}

# The program over a folder, the clock running from the Return that chooses
# the folder to the unmap of the batch window; prints the seconds and the
# program's peak resident memory in kB, and leaves its log (the clipboard)
# in work/program.log.
drive_program() { # folder preferences busy
    local figures
    for _ in 1 2 3; do
        if figures=$(try_program "$@"); then
            echo "$figures"
            return
        fi
        echo "the program's dialogs went astray; trying again" >&2
    done
    return 1
}

# The folder dialog starts in the program's working folder, the folder's
# parent, so that only its name is typed: the dialog's completion cannot
# turn a short name into another.
try_program() { # folder preferences busy
    local folder=$1 busy=$3 app seconds hwm
    (cd "$(dirname "$folder")" && XDG_CONFIG_HOME=$2 exec "$repo/$build/app/mxmtool") >/dev/null 2>&1 &
    app=$!
    type_batch_folder "$(basename "$folder")"
    drop_caches
    if [ "$busy" = 1 ]; then start_load; fi
    seconds=$(python3 "$repo/bench/window_timer.py" "Changing MXM paths" 900) || seconds=
    if [ "$busy" = 1 ]; then stop_load; fi
    if [ -z "$seconds" ]; then
        kill "$app"
        wait "$app" 2>/dev/null || true
        return 1
    fi
    xclip -o -selection clipboard >"$dir/work/program.log"
    hwm=$(awk '/VmHWM/ {print $2}' "/proc/$app/status")
    kill "$app"
    wait "$app" 2>/dev/null || true
    echo "$seconds $hwm"
}

run_program() { # size busy
    local copy=$dir/work/program figures
    fresh_copy "$dir/$1/corpus" "$copy"
    figures=$(drive_program "$copy" "$dir/prefs/$1" "$2")
    verify "$copy" "$dir/work/program.log" "$dir/$1/reference"
    echo "$figures"
}

# The cost per file apart from the disk: n files that are no materials
# (nothing is written), 100 to a folder, warm.
linear() {
    local n folder seconds
    for n in 12500 100000; do
        folder=$dir/linear-$n
        if [ ! -d "$folder" ]; then
            python3 -c 'import os, sys
root, n = sys.argv[1], int(sys.argv[2])
for i in range(n):
    folder = os.path.join(root, "f%04d" % (i // 100))
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "n%06d.mxm" % i), "wb") as f:
        f.write(b"no material")' "$folder.new" "$n"
            mv "$folder.new" "$folder"
        fi
        for run in 1 2 3; do
            seconds=$(cold=0 drive_program "$folder" "$dir/prefs" 0 | cut -d' ' -f1)
            if [ "$(grep -o 'Does not seem to be an MXM' "$dir/work/program.log" | wc -l)" != "$n" ]; then
                echo "the run over $n files did not log each one" >&2
                exit 1
            fi
            echo "$n files, run $run: $seconds s"
            echo "$n $seconds" >>"$results"
        done
    done
    python3 -c 'import statistics, sys
runs = {}
for line in open(sys.argv[1]):
    n, s = line.split()
    runs.setdefault(int(n), []).append(float(s))
small, large = (statistics.median(runs[n]) for n in (12500, 100000))
print(f"medians: 12,500 files {small:.3f} s, 100,000 files {large:.3f} s: x{large / small:.2f} (linear: 8, goal: at most 10)")' "$results"
}

run_copy() { # size busy
    local target=$dir/work/cp start seconds
    rm -rf "$target"
    drop_caches
    if [ "$2" = 1 ]; then start_load; fi
    start=$(now)
    cp -r "$dir/$1/corpus" "$target" && sync
    seconds=$(elapsed "$start")
    if [ "$2" = 1 ]; then stop_load; fi
    echo "$seconds"
}

run_script() { # size busy
    local copy=$dir/work/script start seconds
    fresh_copy "$dir/$1/corpus" "$copy"
    drop_caches
    if [ "$2" = 1 ]; then start_load; fi
    start=$(now)
    python3 bench/batch_script.py "$copy" "$dir/work/script.log" "$dir/$1/library"
    seconds=$(elapsed "$start")
    if [ "$2" = 1 ]; then stop_load; fi
    verify "$copy" "$dir/work/script.log" "$dir/$1/reference"
    echo "$seconds"
}

if [ "${1:-}" = --linear ]; then
    linear
    exit 0
fi

# The corpus, its default location in the program's preferences, and the
# one-file-at-a-time run that every measured run must match.
for size in $sizes; do
    "$build/bench/batch_benchmark" --make-corpus "$dir/$size" "$size"
    mkdir -p "$dir/prefs/$size"
    echo "Startup Disk${dir//\//:}:$size:library" >"$dir/prefs/$size/LumitracePaths.pref"
    # Made anew each time: the program may have changed since.
    rm -rf "$dir/$size/reference"
    mkdir -p "$dir/$size/reference"
    cp -r "$dir/$size/corpus" "$dir/$size/reference/tree"
    QT_QPA_PLATFORM=offscreen "$build/bench/batch_benchmark" --reference "$dir/$size" \
        "$dir/$size/reference/tree" "$dir/$size/reference/log" 2>/dev/null
done

echo "Load before: $(uptime)"
for round in $(seq "$rounds"); do
    for size in $sizes; do
        for busy in $((round % 2)) $(((round + 1) % 2)); do
            # The order of the three shifts from round to round.
            for k in 0 1 2; do
                case $(((k + round) % 3)) in
                0) echo "$size $busy cp $(run_copy "$size" "$busy")" >>"$results" ;;
                1) echo "$size $busy program $(run_program "$size" "$busy")" >>"$results" ;;
                2) if [ "$busy" = 0 ] || [ -n "${SCRIPT_BUSY:-}" ]; then
                    echo "$size $busy script $(run_script "$size" "$busy")" >>"$results"
                fi ;;
                esac
            done
        done
    done
    echo "round $round of $rounds done ($(uptime | sed 's/.*load/load/'))" >&2
done
echo "Load after: $(uptime)"
[ "$cold" = 1 ] && temperature=cold || temperature=WARM
python3 bench/window_table.py "$results" "$temperature"
