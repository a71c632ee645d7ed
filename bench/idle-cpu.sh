#!/bin/sh
# CPU time the desktop program uses while nothing happens: starts it under a virtual display
# with a model (the first preview window reads it), opens that window's object window with a
# click on its object button, moves the pointer off the window, waits for the start-up to
# settle, then samples the process's user + system time from /proc over SECONDS seconds.
#
#   bench/idle-cpu.sh [BUILD_DIR [SECONDS [MODEL]]]    (defaults: build, 30, a sample cube)
#
# Needs xvfb-run (with xauth) and xdotool.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
seconds=${2:-30}
model=${3:-$root/data/samples/cube.dxf}
program="$build/bin/kalvo3d"

if [ "${KALVO_IDLE_INNER:-}" != 1 ]; then
    export KALVO_IDLE_INNER=1
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$build" "$seconds" "$model"
fi

cd "$root/data" # the cursor files
"$program" "$model" >/dev/null 2>&1 &
pid=$!
sleep 4
# The object button sits at the left of the preview window's toolbar, which opens at the
# top-left of the main window (no window manager: no frame around the main window).
xdotool mousemove 60 54 click 1
sleep 1
xdotool mousemove 1000 700
sleep 2

ticks() { awk '{ print $14 + $15 }' "/proc/$pid/stat"; }
hz=$(getconf CLK_TCK)
before=$(ticks)
sleep "$seconds"
after=$(ticks)
kill "$pid"
wait "$pid" 2>/dev/null || true
awk -v d="$((after - before))" -v hz="$hz" -v s="$seconds" \
    'BEGIN { printf "idle CPU over %d s: %d ticks = %.2f %% of one core\n", s, d, 100 * d / (hz * s) }'
