#!/bin/sh
# Start-up time to the first painted window, whole process, against an empty Qt Widgets
# window, on a virtual X server. The two programs are run in turns, so that load from
# elsewhere on the machine falls on both alike; medians are printed.
#   bench/startup.sh [build dir] [runs of each]
# Needs: xvfb, xauth, python3; the build dir must have dpartition_startup_probe built.
set -eu
build=${1:-build/dev}
runs=${2:-30}
probe=$(cd "$build" && pwd)/bench/startup/dpartition_startup_probe
[ -x "$probe" ] || { echo "build dpartition_startup_probe first" >&2; exit 1; }
export probe runs
xvfb-run -a -s "-screen 0 1280x1024x24" python3 - <<'PY'
import os, statistics, subprocess, time
probe, runs = os.environ["probe"], int(os.environ["runs"])
times = {"empty": [], "window": []}
for i in range(runs + 3):
    for kind in ("empty", "window"):
        start = time.perf_counter()
        subprocess.run([probe, kind], check=True, stderr=subprocess.DEVNULL)
        if i >= 3:  # the first rounds warm the caches
            times[kind].append(time.perf_counter() - start)
empty, window = (statistics.median(times[k]) * 1000 for k in ("empty", "window"))
print(f"empty Qt Widgets window  median {empty:6.1f} ms")
print(f"dpartition main window   median {window:6.1f} ms")
print(f"ratio                    {window / empty:6.2f}")
PY
