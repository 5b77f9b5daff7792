#!/usr/bin/env bash
# Seeds each fault of faults.txt into the product code in turn, rebuilds the warnings build,
# runs the tests whose programs the fault changed and notes whether they caught it; the source
# is restored after each fault, also on Ctrl+C. Ends with "caught N of M".
# Usage: tests/faults/run.sh [BUILD_DIR] [FAULT_ID...]   (default build/faults, every fault)
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(realpath -m "${1:-$root/build/faults}")
shift || true
logs=$build/fault-logs
mkdir -p "$logs"

saved="" file=""
restore() { [ -n "$file" ] && cp "$saved" "$file"; file=""; }
trap restore EXIT
trap 'restore; exit 130' INT TERM

python3 "$here/seed.py" check "$root" "$here/faults.txt" || exit 1
nice -n 19 cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_COMPILE_WARNING_AS_ERROR=ON -DCMAKE_CXX_COMPILER_LAUNCHER=ccache >/dev/null || exit 1
nice -n 19 cmake --build "$build" -j2 >"$logs/build.log" 2>&1 || { echo "build fails"; exit 1; }

# The tests one of whose programs (the command or a program given to a script) was rebuilt:
# any other test runs the same code as without the fault. The package test is left out, as
# cpack only packs the files a build makes, whatever their code.
changed_tests() {
    ctest --test-dir "$build" --show-only=json-v1 |
        jq -r '.tests[] | select(.name != "package") | [.name] + .command | @tsv' |
        while IFS=$'\t' read -r name args; do
            for arg in $args; do
                if [ -f "$arg" ] && [ "$arg" -nt "$stamp" ]; then echo "$name"; break; fi
            done
        done | paste -sd'|'
}

ids=("$@")
[ ${#ids[@]} -gt 0 ] || mapfile -t ids < <(grep -o '^[A-Z][0-9][0-9]*' "$here/faults.txt")
stamp=$logs/stamp saved=$logs/original
results=$build/fault-results.tsv
: >"$results"
caught=0
for id in "${ids[@]}"; do
    touch "$stamp"
    sleep 1 # the build's timestamps must be later than the stamp's
    file=$(python3 "$here/seed.py" apply "$root" "$here/faults.txt" "$id" "$saved") || exit 1
    if ! nice -n 19 cmake --build "$build" -j2 >"$logs/$id.log" 2>&1; then
        outcome="build-failed" failed=""
    else
        tests=$(changed_tests)
        rm -f "$build/Testing/Temporary/CTestCostData.txt"
        if [ -z "$tests" ]; then
            outcome="missed" failed="(no test program changed)"
        elif nice -n 19 ctest --test-dir "$build" -j2 --stop-on-failure -R "^($tests)\$" \
            >>"$logs/$id.log" 2>&1; then
            outcome="missed" failed=""
        else
            outcome="caught"
            failed=$(sed -n 's/^.* - \([^ ]*\) (.*$/\1/p' "$logs/$id.log" | paste -sd' ')
            caught=$((caught + 1))
        fi
    fi
    restore
    printf '%s\t%s\t%s\n' "$id" "$outcome" "$failed" | tee -a "$results"
done
nice -n 19 cmake --build "$build" -j2 >>"$logs/build.log" 2>&1
echo "caught $caught of ${#ids[@]}"
