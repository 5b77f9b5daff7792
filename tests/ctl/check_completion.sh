#!/usr/bin/env bash
# The bash completion of zra70ctl, as bash runs it on Tab: names come from the program itself.
# Usage: check_completion.sh ZRA70CTL COMPLETION-SCRIPT
set -euo pipefail
PATH=$(dirname "$1"):$PATH
source "$2"
fail=0
expect() {
    local want=$1; shift
    COMP_WORDS=("$@") COMP_CWORD=$(($# - 1)) COMPREPLY=()
    _zra70ctl
    [ "${COMPREPLY[*]}" = "$want" ] || { echo "FAIL: [$*] gave [${COMPREPLY[*]}], not [$want]"; fail=1; }
}
expect 'list send query status raw' zra70ctl ''
expect '--speed' zra70ctl --sp
expect 'power-on power-off' zra70ctl --port /dev/ttyUSB0 send pow
expect 'cursor-up cursor-down cursor-right cursor-left' zra70ctl send power-on cursor-
expect 'l-time l-mode' zra70ctl --json query l
expect '' zra70ctl query status ''
exit $fail
