# Sourced by the scripts that drive the real program under Xvfb: a display
# of their own and the windows on it.
#
#   start_display            starts Xvfb on a free-looking display, exports
#                            DISPLAY and waits until it answers
#   wait_windows TITLE N     waits until at least N windows of that title
#                            are on screen; prints the newest
#   type_batch_folder TEXT   in the program just started: Ctrl+O in its
#                            start window, Return on the warning, TEXT
#                            typed in the folder dialog; the next Return
#                            starts the batch
#   stop_started             ends every process (or process group) in pids
pids=()

stop_started() {
    for p in "${pids[@]}"; do kill -- "-$p" 2>/dev/null || kill "$p" 2>/dev/null || true; done
}

start_display() {
    local display=:$((90 + RANDOM % 100))
    setsid Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    pids+=($!)
    export DISPLAY=$display
    for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
}

wait_windows() {
    local title=$1 n=$2 found
    for _ in $(seq 300); do
        found=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null || true)
        if [ "$(printf '%s' "$found" | grep -c .)" -ge "$n" ]; then
            printf '%s\n' "$found" | tail -n1
            return
        fi
        sleep 0.05
    done
    echo "no window \"$title\" came up" >&2
    return 1
}

type_batch_folder() {
    local window
    window=$(wait_windows Lumitrace 1)
    xdotool windowfocus --sync "$window" key ctrl+o
    window=$(wait_windows Lumitrace 2)
    xdotool windowfocus --sync "$window" key Return
    window=$(wait_windows "Find Directory" 1)
    xdotool windowfocus --sync "$window" type --delay 20 "$1"
    sleep 0.3
}
