#!/usr/bin/env bash
# Crash safety of the batch on hard-linked materials, on the real program:
# the Release mxmtool in a window under Xvfb, driven by keys. Each round
# starts from a fresh copy of 40 materials, each with a second name outside
# the folder (so the batch writes them in place behind a backup), starts the
# batch, SIGKILLs the program at a moment uniform over the span in which an
# unkilled batch writes its files (bench/batch_killer.py watches the files
# from the Return on and counts from the first change), and classifies every
# file as old bytes, new bytes (those of an unkilled run) or mixed; then
# opens all 40 in the program (the "next open" that restores backups), kills
# it once its windows are up, and classifies again. Mixed files after that
# open and backups left behind are failures.
#
#   bash scripts/kill_batch.sh [rounds] [folder]   (default 50, /tmp/mxm-kill-batch)
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD
rounds=${1:-50}
dir=${2:-/tmp/mxm-kill-batch}
app=$repo/build-release/app/mxmtool
[ -x "$app" ] || { echo "build $app first (Release)" >&2; exit 1; }

rm -rf "$dir" && mkdir -p "$dir/old" "$dir/prefs"
fixtures=(paths mixed_references links single_path bitmaps_folder volume_beside references_and_markers_in_blocks)
for i in $(seq -w 1 40); do
    cp "tests/fuzz/corpus/${fixtures[$((10#$i % ${#fixtures[@]}))]}.mxm" "$dir/old/m$i.mxm"
done

source scripts/xvfb_display.sh
trap stop_started EXIT
start_display

fresh() { # the batch folder and a second name for each file beside it
    rm -rf "$dir/work" "$dir/links"
    cp -r "$dir/old" "$dir/work"
    mkdir "$dir/links"
    for f in "$dir/work"/*.mxm; do ln "$f" "$dir/links/$(basename "$f")"; done
    sync
}

# Starts the program and brings the batch up to the folder dialog, the
# folder typed: the next Return starts the batch. Prints the program's pid.
open_batch() {
    local pid
    XDG_CONFIG_HOME=$dir/prefs "$app" >/dev/null 2>&1 &
    pid=$!
    type_batch_folder "$dir/work"
    echo "$pid"
}

classify() { # prints: old new mixed
    local o=0 n=0 m=0 f
    for f in "$dir/work"/*.mxm; do
        if cmp -s "$f" "$dir/old/$(basename "$f")"; then o=$((o + 1))
        elif cmp -s "$f" "$dir/new/$(basename "$f")"; then n=$((n + 1))
        else m=$((m + 1)); fi
    done
    echo "$o $n $m"
}

# The unkilled run: its bytes are the new ones, its length sets the kill window.
fresh
pid=$(open_batch)
python3 bench/batch_killer.py measure "$dir/work" "$dir/old" >"$dir/span" &
watcher=$!
sleep 0.3
xdotool windowfocus --sync "$(wait_windows "Find Directory" 1)" key Return
wait "$watcher"
span=$(cat "$dir/span")
sleep 1
kill "$pid"; wait "$pid" 2>/dev/null || true
rm -rf "$dir/new" && cp -r "$dir/work" "$dir/new"
read -r o n m < <(classify)
[ "$n" = 40 ] || { echo "the unkilled run left $o old and $m mixed files" >&2; exit 1; }
echo "unkilled batch: its files written within $span s; load: $(uptime)"

crashes=0 kills=0 before=0 after=0 left=0 tally=
for round in $(seq "$rounds"); do
    fresh
    pid=$(open_batch)
    python3 bench/batch_killer.py kill "$dir/work" "$dir/old" "$pid" "$span" >"$dir/moment" &
    watcher=$!
    sleep 0.3
    xdotool windowfocus --sync "$(wait_windows "Find Directory" 1)" key Return
    wait "$watcher" && kills=$((kills + 1))
    delay=$(cat "$dir/moment")
    wait "$pid" 2>/dev/null || true
    read -r o n m < <(classify)
    before=$((before + m))
    # The next open: every file on the command line, killed once its windows are up.
    XDG_CONFIG_HOME=$dir/prefs "$app" "$dir/work"/*.mxm >/dev/null 2>&1 &
    pid=$!
    wait_windows '.*' 40 >/dev/null || echo "round $round: fewer than 40 windows came up" >&2
    sleep 0.5
    if kill -KILL "$pid" 2>/dev/null; then
        wait "$pid" 2>/dev/null || true
    else
        status=0 && wait "$pid" || status=$?
        crashes=$((crashes + 1))
        echo "round $round: the open ended by itself, status $status" >&2
    fi
    read -r o2 n2 m2 < <(classify)
    backups=$(find "$dir/work" "$dir/links" -name '.mxmtool-backup-*' | wc -l)
    after=$((after + m2)) left=$((left + backups))
    for f in "$dir/work"/*.mxm; do
        cmp -s "$f" "$dir/links/$(basename "$f")" || { echo "round $round: $f and its second name differ" >&2; after=$((after + 1)); }
    done
    echo "round $round: kill $delay s after the first write; before open: old $o new $n mixed $m; after: old $o2 new $n2 mixed $m2, backups $backups"
done
echo "rounds $rounds, kills $kills, file states $((rounds * 40)), mixed before the next open $before, mixed after $after, backups left $left, opens that ended by themselves $crashes"
echo "load: $(uptime)"
[ "$after" = 0 ] && [ "$left" = 0 ]
