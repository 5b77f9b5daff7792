#!/usr/bin/env bash
# Runs the panel against the projector simulator: installs what is missing, builds, starts
# zra70-sim on a pseudo-terminal and opens the panel with that terminal as COM1.
# Usage: scripts/run.sh [simulator options, e.g. --delay 100 --pieces 2 --gap 30]
set -euo pipefail
cd "$(dirname "$0")/.."

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "run.sh: no display to open the panel's window on (DISPLAY is not set)." >&2
    echo "        Run it under a virtual X server instead:  xvfb-run -a scripts/run.sh" >&2
    exit 2
fi

scripts/install-deps.sh

build=build/run
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZRA70_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target zra70-panel zra70-sim

workdir=$(mktemp -d)
trap 'kill "$sim" 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$workdir"' EXIT
"$build/sim/zra70-sim" --link "$workdir/com1" "$@" >"$workdir/sim.out" &
sim=$!
for _ in $(seq 100); do
    [ -s "$workdir/sim.out" ] && break
    sleep 0.05
done
device=$(head -n 1 "$workdir/sim.out")
[ -n "$device" ] || { echo "run.sh: the projector simulator did not start" >&2; exit 1; }
echo "Projector simulator on $device (COM1)"

ZRA70_COM1="$device" "$build/app/zra70-panel"
