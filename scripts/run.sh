#!/usr/bin/env bash
# Runs the panel against the projector simulator: installs what is missing, builds, starts
# zra70-sim on a pseudo-terminal and opens the panel with that terminal as COM1.
# With --network (RFC 2217) or --network=tcp (raw TCP), Debian's ser2net serves the simulator's
# terminal on 127.0.0.1:${ZRA70_NET_PORT:-7001} and the panel reaches it across the network.
# Usage: scripts/run.sh [--network[=rfc2217|tcp]] [simulator options, e.g. --delay 100 --pieces 2]
set -euo pipefail
cd "$(dirname "$0")/.."

network=""
case "${1:-}" in
--network | --network=rfc2217) network=rfc2217; shift ;;
--network=tcp) network=tcp; shift ;;
--network=*) echo "run.sh: --network takes rfc2217 or tcp" >&2; exit 2 ;;
esac

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
sim="" server=""
trap 'kill $sim $server 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$workdir"' EXIT
"$build/sim/zra70-sim" --link "$workdir/com1" "$@" >"$workdir/sim.out" &
sim=$!
for _ in $(seq 100); do
    [ -s "$workdir/sim.out" ] && break
    sleep 0.05
done
device=$(head -n 1 "$workdir/sim.out")
[ -n "$device" ] || { echo "run.sh: the projector simulator did not start" >&2; exit 1; }
echo "Projector simulator on $device"

if [ -n "$network" ]; then
    port=${ZRA70_NET_PORT:-7001}
    accepter=tcp
    [ "$network" = rfc2217 ] && accepter="telnet(rfc2217),tcp"
    cat >"$workdir/ser2net.yaml" <<YAML
connection: &projector
  accepter: $accepter,127.0.0.1,$port
  connector: serialdev,$device,19200n81,local
YAML
    # -n: in the foreground, ended with this script; -u: no UUCP lock on the terminal.
    /usr/sbin/ser2net -n -u -c "$workdir/ser2net.yaml" -P "$workdir/ser2net.pid" &
    server=$!
    sleep 0.5
    kill -0 "$server" 2>/dev/null || { echo "run.sh: ser2net did not start" >&2; exit 1; }
    device="$network://127.0.0.1:$port"
    echo "ser2net serves it as $device"
fi

echo "Panel: COM1 = $device"
ZRA70_COM1="$device" "$build/app/zra70-panel"
