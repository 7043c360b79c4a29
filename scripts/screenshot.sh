#!/bin/sh
# Starts the real program under a virtual X server, presses the calculate button and saves a
# PNG of the window. Usage: scripts/screenshot.sh [output.png] [build dir]
# QT_SCALE_FACTOR=2 scripts/screenshot.sh shows the window at 200 %.
# Needs: xvfb, xauth, xdotool, imagemagick (import).
set -eu
out=${1:-dpartition.png}
build=${2:-build/dev}
case $out in /*) ;; *) out=$PWD/$out ;; esac
program=$(cd "$build" && pwd)/app/dpartition

xvfb-run -a -s "-screen 0 2560x1600x24" sh -c '
    "$0" &
    pid=$!
    # The caption is the window we look for; wait until it is mapped.
    for i in $(seq 1 100); do
        win=$(xdotool search --onlyvisible --name "Переходная характеристика" 2>/dev/null | head -n 1) && [ -n "$win" ] && break
        sleep 0.1
    done
    [ -n "$win" ] || { echo "window did not appear" >&2; kill $pid; exit 1; }
    sleep 0.5
    eval $(xdotool getwindowgeometry --shell "$win")
    # The button sits at (688, 408)-(849, 433) in stored pixels; press its middle.
    scale=${QT_SCALE_FACTOR:-1}
    bx=$(awk -v s="$scale" "BEGIN { printf \"%d\", (688 + 80) * 0.8 * s }")
    by=$(awk -v s="$scale" "BEGIN { printf \"%d\", (408 + 12) * 0.8 * s }")
    xdotool mousemove --window "$win" "$bx" "$by" click 1
    sleep 0.5
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" "$1"
    kill $pid
' "$program" "$out"
echo "saved $out"
