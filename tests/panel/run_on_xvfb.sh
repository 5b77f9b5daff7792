#!/usr/bin/env bash
# Runs a test program on its own Xvfb screen with the xcb platform instead of offscreen.
#   --dpi N               the screen is N dots per inch and Xft.dpi says so, as a desktop set to
#                         N dpi would; Qt 6 takes its scale factor from Xft.dpi (N / 96), not from
#                         the screen's millimetres.
#   --accessibility-bus   an AT-SPI accessibility bus is running, as with a screen reader, so that
#                         Qt's bridge is active and sends accessibility events.
# Usage: run_on_xvfb.sh [--dpi N | --accessibility-bus] program [arguments...]
set -euo pipefail

dpi=96
bus=false
case $1 in
--dpi) dpi=$2; shift 2 ;;
--accessibility-bus) bus=true; shift ;;
esac

workdir=$(mktemp -d)
# -displayfd picks a free display; -noreset keeps the root window's resources between clients.
Xvfb -displayfd 3 -screen 0 1920x1440x24 -dpi "$dpi" -noreset -nolisten tcp \
    3>"$workdir/display" 2>"$workdir/xvfb.log" &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null; rm -rf "$workdir"' EXIT
for _ in $(seq 100); do [ -s "$workdir/display" ] && break; sleep 0.05; done
[ -s "$workdir/display" ] || { cat "$workdir/xvfb.log" >&2; exit 1; }
DISPLAY=":$(head -n 1 "$workdir/display")"
export DISPLAY QT_QPA_PLATFORM=xcb
xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "Xft.dpi:	$dpi"

$bus || { "$@"; exit; }
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
# shellcheck disable=SC2016 # expanded by the inner shell
dbus-run-session -- bash -c '
    /usr/libexec/at-spi-bus-launcher --launch-immediately &
    launcher=$!
    trap "kill $launcher 2>/dev/null" EXIT
    "$@"
' bash "$@" 2> >(grep -v "Failed to set fd limit" >&2)
