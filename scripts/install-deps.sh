#!/usr/bin/env bash
# Installs the Debian packages the panel needs to build, test and run, skipping what is there.
# Usage: scripts/install-deps.sh [extra-package...]
set -euo pipefail

packages=(
    cmake ninja-build g++ pkgconf
    qt6-base-dev qt6-serialport-dev libgl-dev
    fonts-ipafont-gothic
    clang-14 libclang-rt-14-dev
    xvfb xauth x11-utils
    lintian desktop-file-utils dpkg-dev file at-spi2-core dbus-daemon
    python3-gi gir1.2-atspi-2.0
    ser2net sredird socat
    mosquitto mosquitto-clients libmosquitto-dev openssl
    "$@"
)
# The PJLink test installs its client from the npm registry; a Node.js of one's own will do.
command -v npm >/dev/null || packages+=(nodejs npm)

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)
    [ "$status" = installed ] || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
