#!/bin/sh
# Start-up time to the first painted window, whole process, against an empty Qt Widgets
# window in the same run, on a virtual X server. Prints hyperfine's summary; the figures to
# quote are the medians.
#   bench/startup.sh [build dir] [runs]
# Needs: xvfb, xauth, hyperfine; the build dir must have dpartition_startup_probe built.
set -eu
build=${1:-build/dev}
runs=${2:-30}
probe=$(cd "$build" && pwd)/bench/startup/dpartition_startup_probe
[ -x "$probe" ] || { echo "build dpartition_startup_probe first" >&2; exit 1; }
export probe runs
xvfb-run -a -s "-screen 0 1280x1024x24" sh -c '
    hyperfine --warmup 3 --runs "$runs" --export-json /tmp/dpartition-startup.json \
        -N "$probe empty" "$probe window"
'
python3 - <<'PY'
import json, statistics
for r in json.load(open("/tmp/dpartition-startup.json"))["results"]:
    print(f"{r['command'].split('/')[-1]:40s} median {statistics.median(r['times'])*1000:7.1f} ms")
PY
