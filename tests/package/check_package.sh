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
for program in zra70-panel zra70-sim zra70ctl; do
    [ -x "$root/bin/$program" ] || fail "usr/bin/$program missing"
done
for program in "$root"/bin/*; do
    [ -f "$root/share/man/man1/$(basename "$program").1.gz" ] || fail "no manual page for $program"
done
for file in share/doc/zra70-panel/README.md share/doc/zra70-panel/copyright \
    share/bash-completion/completions/zra70ctl \
    share/icons/hicolor/48x48/apps/zra70-panel.png share/icons/hicolor/256x256/apps/zra70-panel.png; do
    [ -f "$root/$file" ] || fail "usr/$file missing"
done

depends=$(dpkg-deb --field "$package" Depends)
for needed in libqt6widgets6 libqt6serialport6 fonts-ipafont-gothic; do
    [[ ", $depends," == *", $needed"[\ ,]* ]] || fail "Depends lacks $needed: $depends"
done
[ "$(dpkg-deb --field "$package" Section)" = electronics ] || fail "Section"

entry=$root/share/applications/zra70-panel.desktop
grep -qx 'Name=TAVO   ZRA70_20  CONTROL   Ver.1.40' "$entry" || fail "desktop entry Name"
grep -qx 'Exec=zra70-panel' "$entry" || fail "desktop entry Exec"
report=$(desktop-file-validate "$entry") && [ -z "$report" ] || fail "desktop-file-validate: $report"

report=$(lintian --fail-on error "$package") || fail "lintian: $report"
[ -n "$report" ] && echo "lintian: $report"
echo "package checks passed"
