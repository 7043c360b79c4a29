#!/bin/sh
# The copy through the chart's menu as another program sees it: starts the real program on a
# virtual X server, calculates, copies through the menu, then reads the clipboard with xclip
# from outside and checks the image's type and size (the chart's, in device pixels).
#   tests/x11/clipboard.sh <dpartition> [scale factor]
set -eu
program=$1
scale=${2:-1}
export program scale
exec xvfb-run -a -s "-screen 0 2560x1600x24" sh -c '
    set -eu
    export QT_SCALE_FACTOR=$scale
    echo "earlier text" | xclip -selection clipboard -i
    "$program" &
    pid=$!
    trap "kill $pid 2>/dev/null || true" EXIT
    win=
    for i in $(seq 1 100); do
        win=$(xdotool search --onlyvisible --name "Переходная характеристика" 2>/dev/null | head -n 1) || true
        [ -n "$win" ] && break
        sleep 0.1
    done
    [ -n "$win" ] || { echo "window did not appear" >&2; exit 1; }
    sleep 0.3
    px() { awk -v v="$1" -v s="$scale" "BEGIN { printf \"%d\", v * 0.8 * s }"; }
    # The button, then a right click in the chart and the menu item chosen by keyboard.
    xdotool mousemove --window "$win" $(px 768) $(px 420) click 1
    sleep 0.3
    xdotool mousemove --window "$win" $(px 300) $(px 200) click 3
    sleep 0.3
    xdotool key Down Return
    sleep 0.5
    targets=$(xclip -selection clipboard -t TARGETS -o)
    echo "$targets" | grep -qx "image/png" || { echo "no image/png among: $targets" >&2; exit 1; }
    if echo "$targets" | grep -qx "UTF8_STRING\|text/plain"; then
        echo "earlier text still offered: $targets" >&2; exit 1
    fi
    xclip -selection clipboard -t image/png -o > /tmp/dpartition-clip.$$.png
    size=$(python3 -c "import struct,sys; d=open(sys.argv[1],\"rb\").read(24); assert d[:8]==b\"\\x89PNG\\r\\n\\x1a\\n\"; print(\"%dx%d\" % struct.unpack(\">II\", d[16:24]))" /tmp/dpartition-clip.$$.png)
    rm -f /tmp/dpartition-clip.$$.png
    # The chart is 609 x 425 stored pixels: four fifths of that in device-independent
    # pixels, times the scale factor in device pixels.
    want=$(awk -v s="$scale" "BEGIN { printf \"%dx%d\", int(609 * 0.8 + 0.5) * s, int(425 * 0.8 + 0.5) * s }")
    [ "$size" = "$want" ] || { echo "clipboard image is $size, expected $want" >&2; exit 1; }
    echo "clipboard holds image/png of $size"
'
