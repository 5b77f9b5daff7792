#!/usr/bin/env bash
# The whole test suite: installs what is missing, then
#   1. builds with AddressSanitizer and UndefinedBehaviorSanitizer and runs every test,
#   2. fuzzes every parser of outside bytes for about a minute in all, each target for its share
#      (tests/fuzz/run.sh: the projector's replies, what a serial server sends, PJLink lines and
#      MQTT commands),
#   3. builds with warnings as errors and runs every test, ending in CTest's summary.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
jobs=$(nproc)

echo "== Sanitizer build (ASan + UBSan, leak check on the end-to-end runs)"
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZRA70_SANITIZE=ON >/dev/null
cmake --build build/asan -j"$jobs"
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build/asan --output-on-failure -j"$jobs"

echo "== Fuzzing (60 s)"
tests/fuzz/run.sh build/fuzz 60

echo "== Build with warnings as errors"
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
cmake --build build/test -j"$jobs"
ctest --test-dir build/test --output-on-failure -j"$jobs"
