#!/usr/bin/env bash
# Two editors of the real program (Release mxmtool under Xvfb) open on one
# material by its two hard-linked names, each pressing Ctrl+S in turn, while
# a plain reader (no lock) reads the file in a loop. Counts the saves that
# went through and those the program refused (a message box: the file
# changed since it was read), the reads that were neither the old bytes nor
# those left by a save (a plain reader may see an in-place write half done),
# and checks the final file is exactly one save's bytes.
#
#   bash scripts/two_savers.sh [saves per editor] [folder]   (default 30, /tmp/mxm-two-savers)
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD
n=${1:-30}
dir=${2:-/tmp/mxm-two-savers}
app=$repo/build-release/app/mxmtool
rm -rf "$dir" && mkdir -p "$dir/saves"
cp tests/fuzz/corpus/paths.mxm "$dir/a.mxm"
ln "$dir/a.mxm" "$dir/b.mxm"
cp "$dir/a.mxm" "$dir/old"

source scripts/xvfb_display.sh
trap stop_started EXIT
start_display

windows_of() { xdotool search --onlyvisible --pid "$1" 2>/dev/null | grep -c . || true; }
editor() { # name: starts an editor on it, prints its pid once its window is up
    XDG_CONFIG_HOME=$dir/prefs "$app" "$dir/$1" >/dev/null 2>&1 &
    local pid=$!
    for _ in $(seq 200); do xdotool search --all --onlyvisible --pid "$pid" --name '^oak$' >/dev/null 2>&1 && break; sleep 0.05; done
    echo "$pid"
}
e1=$(editor a.mxm); pids+=("$e1")
e2=$(editor b.mxm); pids+=("$e2")

python3 - "$dir/a.mxm" "$dir/reads" <<'PY' &
import hashlib, os, sys, time
seen = {}
stop = sys.argv[2] + ".stop"
while not os.path.exists(stop):
    with open(sys.argv[1], "rb") as f:
        data = f.read()
    seen.setdefault(data, 0)
    seen[data] += 1
with open(sys.argv[2], "w") as out:
    for data, count in seen.items():
        out.write(f"{hashlib.sha256(data).hexdigest()} {count} {len(data)}\n")
PY
reader=$!

saved=0 refused=0
save() { # pid
    local before window
    before=$(windows_of "$1")
    window=$(xdotool search --all --onlyvisible --pid "$1" --name '^oak$' | head -n1)
    xdotool windowfocus --sync "$window" key ctrl+s
    sleep 0.4
    if [ "$(windows_of "$1")" -gt "$before" ]; then
        refused=$((refused + 1))
        xdotool windowfocus --sync "$(xdotool search --onlyvisible --pid "$1" | tail -n1)" key Return
        sleep 0.2
    else
        saved=$((saved + 1))
        sha256sum <"$dir/a.mxm" | cut -d' ' -f1 >>"$dir/saves/list"
    fi
}
for _ in $(seq "$n"); do save "$e1"; save "$e2"; done
touch "$dir/reads.stop"; wait "$reader"
sha256sum <"$dir/old" | cut -d' ' -f1 >>"$dir/saves/list"
final=$(sha256sum <"$dir/a.mxm" | cut -d' ' -f1)
torn=$(awk 'NR == FNR { ok[$1] = 1; next } !($1 in ok) { t += $2 } END { print t + 0 }' "$dir/saves/list" "$dir/reads")
reads=$(awk '{ r += $2 } END { print r }' "$dir/reads")
grep -qx "$final" "$dir/saves/list" && good=yes || good=NO
cmp -s "$dir/a.mxm" "$dir/b.mxm" || good=NO
echo "saves pressed $((2 * n)): saved $saved, refused $refused; plain reads $reads, torn $torn; final file one save's bytes: $good"
echo "load: $(uptime)"
