#!/usr/bin/env bash
# The Debian package as apt would get it: built by CPack from this build tree, read back with
# dpkg-deb and judged by lintian and desktop-file-validate.
# Usage: check_package.sh CPACK CPackConfig.cmake
set -euo pipefail
cpack=$1 config=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$cpack" -G DEB --config "$config" -B "$work" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; fail cpack; }
package=$work/zra70-panel_1.40_$(dpkg --print-architecture).deb
[ -f "$package" ] || fail "no $(basename "$package") in: $(ls "$work")"

dpkg-deb --extract "$package" "$work/root"
root=$work/root/usr
for program in zra70-panel zra70-sim zra70ctl zra70d; do
    [ -x "$root/bin/$program" ] || fail "usr/bin/$program missing"
    [ -f "$root/share/man/man1/$program.1.gz" ] || [ -f "$root/share/man/man8/$program.8.gz" ] ||
        fail "no manual page for $program"
done
for file in share/doc/zra70-panel/README.md share/doc/zra70-panel/copyright \
    share/bash-completion/completions/zra70ctl \
    share/icons/hicolor/48x48/apps/zra70-panel.png share/icons/hicolor/256x256/apps/zra70-panel.png \
    share/doc/zra70-panel/examples/zra70d.conf lib/sysusers.d/zra70d.conf ../lib/systemd/system/zra70d@.service; do
    [ -f "$root/$file" ] || fail "usr/$file missing"
done

depends=$(dpkg-deb --field "$package" Depends)
for needed in libqt6widgets6 libqt6serialport6 libmosquitto1 fonts-ipafont-gothic; do
    [[ ", $depends," == *", $needed"[\ ,]* ]] || fail "Depends lacks $needed: $depends"
done
[ "$(dpkg-deb --field "$package" Section)" = electronics ] || fail "Section"

entry=$root/share/applications/zra70-panel.desktop
grep -qx 'Name=TAVO   ZRA70_20  CONTROL   Ver.1.40' "$entry" || fail "desktop entry Name"
grep -qx 'Exec=zra70-panel' "$entry" || fail "desktop entry Exec"
report=$(desktop-file-validate "$entry") && [ -z "$report" ] || fail "desktop-file-validate: $report"

report=$(lintian --fail-on error "$package") || fail "lintian: $report"
[ -n "$report" ] && echo "lintian: $report"

# Installed for real (as root, on a machine of its own such as CI's): the user the unit runs as,
# the unit as systemd reads it, and the unit's own command line with the example configuration
# serving the simulator.
if [ "$(id -u)" -ne 0 ]; then
    echo "package checks passed (not installed: that needs root)"
    exit 0
fi
dpkg -i "$package" >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log"; fail "dpkg -i"; }
# The clean-up goes on whatever fails in it (zra70d has usually ended by then).
service="" sim=""
trap 'set +e; kill $service $sim 2>/dev/null; dpkg -r zra70-panel >/dev/null 2>&1; rm -f /etc/zra70d/example.conf; rm -rf "$work"' EXIT
id -nG zra70d | grep -qw dialout || fail "the user zra70d is not in the group dialout"
systemd-analyze verify zra70d@example.service >"$work/verify.log" 2>&1 ||
    fail "systemd-analyze verify: $(cat "$work/verify.log")"
report=$(grep -v "root privileges" "$work/verify.log" || true)
[ -z "$report" ] || fail "systemd-analyze verify: $report"

mkdir -p /etc/zra70d
cp /usr/share/doc/zra70-panel/examples/zra70d.conf /etc/zra70d/example.conf
zra70-sim --link "$work/projector" >"$work/sim.out" 2>&1 &
sim=$!
for _ in $(seq 50); do [ -e "$work/projector" ] && break; sleep 0.1; done
# The simulator's terminal, and the way to it, for the service's user.
chmod 711 "$work"
chmod 666 "$(readlink "$work/projector")"
command=$(sed -n 's/^ExecStart=//p' /lib/systemd/system/zra70d@.service | sed 's/%i/example/g')
# shellcheck disable=SC2086  # the unit's command line, split into words as systemd splits it
ZRA70_COM1=$work/projector setpriv --reuid=zra70d --regid=zra70d --init-groups -- $command \
    >"$work/zra70d.out" 2>"$work/zra70d.log" &
service=$!
for _ in $(seq 100); do grep -q "line open" "$work/zra70d.log" && break; sleep 0.1; done
grep -qx "zra70d example: serving pjlink=127.0.0.1:4352" "$work/zra70d.out" ||
    fail "zra70d's ready line: $(cat "$work/zra70d.out" "$work/zra70d.log")"
exec 3<>/dev/tcp/127.0.0.1/4352
IFS= read -r -t 5 -d $'\r' greeting <&3 || true
printf '%%1POWR ?\r' >&3
IFS= read -r -t 5 -d $'\r' power <&3 || true
exec 3>&-
kill -TERM "$service"
wait "$service" || fail "zra70d did not end cleanly on SIGTERM: $(cat "$work/zra70d.log")"
[ "$greeting" = "PJLINK 0" ] && [ "$power" = "%1POWR=0" ] ||
    fail "PJLink through the unit's command line: '$greeting' '$power'; $(cat "$work/zra70d.log")"
echo "package checks passed"
