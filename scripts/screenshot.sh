#!/usr/bin/env bash
# Takes pictures of the panel under Xvfb, connected to the simulator, at each view height:
# docs/panel-compact.png, docs/panel-data.png, docs/panel-extended.png, docs/panel-full.png.
# Usage: scripts/screenshot.sh [output-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-docs}
mkdir -p "$out"

scripts/install-deps.sh xdotool imagemagick x11-apps

build=build/run
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZRA70_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target zra70-panel zra70-sim

workdir=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$workdir"' EXIT

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

"$build/sim/zra70-sim" >"$workdir/sim.out" &
pids+=($!)
for _ in $(seq 100); do [ -s "$workdir/sim.out" ] && break; sleep 0.05; done

ZRA70_COM1=$(head -n 1 "$workdir/sim.out") "$build/app/zra70-panel" &
pids+=($!)
window=""
for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --name 'ZRA70_20' 2>/dev/null | head -n 1) && [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "screenshot.sh: the panel's window did not appear" >&2; exit 1; }

shoot() {
    sleep 0.5
    xwd -silent -id "$window" | convert xwd:- "$out/panel-$1.png"
    echo "$out/panel-$1.png"
}

# The traffic lines are blanked a second after a send; fill them just before each picture.
query() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep 0.3; }

shoot compact
xdotool windowfocus --sync "$window" key ctrl+h
shoot extended
# Double click on the picture at the top right: the full height.
xdotool mousemove --window "$window" 584 21 click --repeat 2 --delay 80 1
query 592 384 # TEMP
shoot full
# The data toggle: CLOSE, then show the data again.
xdotool mousemove --window "$window" 480 347 click 1
xdotool key space
query 528 384 # L-TIME
shoot data
