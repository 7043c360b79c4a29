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
    px() { echo "$1 * 0.8 * $scale" | bc | cut -d. -f1; }
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
    want="$(echo "609 * 0.8 + 0.5" | bc | cut -d. -f1)x$(echo "425 * 0.8 + 0.5" | bc | cut -d. -f1)"
    if [ "$scale" = 2 ]; then want="$(echo "$want" | awk -Fx "{print \$1*2 \"x\" \$2*2}")"; fi
    [ "$size" = "$want" ] || { echo "clipboard image is $size, expected $want" >&2; exit 1; }
    echo "clipboard holds image/png of $size"
'
