#!/usr/bin/env bash
# Takes pictures of the panel under Xvfb, connected to the simulator, at each view height:
# docs/panel-compact.png, docs/panel-data.png, docs/panel-extended.png, docs/panel-full.png,
# and at twice the size (QT_SCALE_FACTOR=2, as on a 192 dpi desktop): docs/panel-full-2x.png.
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
# Large enough for the full window at twice the size (1266 x 1164 pixels).
Xvfb "$display" -screen 0 1600x1280x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

# Starts a simulator and a panel connected to it at scale factor $1; sets window and panel.
start_panel() {
    "$build/sim/zra70-sim" >"$workdir/sim-$1.out" &
    pids+=($!)
    for _ in $(seq 100); do [ -s "$workdir/sim-$1.out" ] && break; sleep 0.05; done

    QT_SCALE_FACTOR=$1 ZRA70_COM1=$(head -n 1 "$workdir/sim-$1.out") "$build/app/zra70-panel" &
    panel=$!
    pids+=("$panel")
    window=""
    for _ in $(seq 100); do
        window=$(xdotool search --onlyvisible --pid "$panel" --name 'ZRA70_20' 2>/dev/null | head -n 1) &&
            [ -n "$window" ] && break
        sleep 0.1
    done
    [ -n "$window" ] || { echo "screenshot.sh: the panel's window did not appear" >&2; exit 1; }
}

shoot() {
    sleep 0.5
    xwd -silent -id "$window" | convert xwd:- "$out/panel-$1.png"
    echo "$out/panel-$1.png"
}

# Clicks at a point given in the panel's own pixels (at scale 1), scaled to the screen's.
at() { xdotool mousemove --window "$window" $(($1 * scale)) $(($2 * scale)); }
# The traffic lines are blanked a second after a send; fill them just before each picture.
query() { at "$1" "$2"; xdotool click 1; sleep 0.3; }

scale=1
start_panel $scale

shoot compact
xdotool windowfocus --sync "$window" key ctrl+h
shoot extended
# Double click on the picture at the top right: the full height.
at 584 21
xdotool click --repeat 2 --delay 80 1
query 592 384 # TEMP
shoot full
# The data toggle: CLOSE, then show the data again.
at 480 347
xdotool click 1
xdotool key space
query 528 384 # L-TIME
shoot data
kill "$panel"

scale=2
start_panel $scale
xdotool windowfocus --sync "$window" key ctrl+h
at 584 21
xdotool click --repeat 2 --delay 80 1
query 592 384 # TEMP
shoot full-2x
