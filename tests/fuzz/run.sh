#!/bin/sh
# Builds the fuzz targets (the exchange, the PJLink lines) with clang++-14 and runs each for a
# bounded time.
# Usage: tests/fuzz/run.sh BUILD_DIR [SECONDS]   (SECONDS defaults to 60)
# Exits non-zero on a crash or sanitizer report. Everything it writes goes under BUILD_DIR:
# the binary, a working copy of the seed corpus and any crash artifacts.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
exchange="$here/../../exchange"
mkdir -p "${1:?usage: $0 BUILD_DIR [SECONDS]}/fuzz/corpus" "$1/fuzz/artifacts"
out="$(cd "$1/fuzz" && pwd)"
cp -n "$here"/corpus/* "$out/corpus/" 2>/dev/null || true

# shellcheck disable=SC2046  # pkg-config output is meant to split into words
clang++-14 -std=c++20 -g -O1 -fPIC -Wall -Wextra -fsanitize=fuzzer,address,undefined \
    -fno-sanitize-recover=all -I"$exchange" "$here/fuzz_exchange.cpp" \
    "$exchange/traffic_render.cpp" "$exchange/reply_decoder.cpp" \
    "$exchange/number_reader.cpp" "$exchange/pressure.cpp" \
    $(pkg-config --cflags --libs Qt6Core) -o "$out/fuzz_exchange"

cd "$out"
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 ./fuzz_exchange -max_total_time="${2:-60}" \
    -print_final_stats=1 -artifact_prefix="$out/artifacts/" "$out/corpus"

# The PJLink lines: framing, login and reading, with their own seeds.
daemon="$here/../../daemon"
mkdir -p "$out/pjlink-corpus"
cp -n "$here"/pjlink-corpus/* "$out/pjlink-corpus/" 2>/dev/null || true
# shellcheck disable=SC2046
clang++-14 -std=c++20 -g -O1 -fPIC -Wall -Wextra -fsanitize=fuzzer,address,undefined \
    -fno-sanitize-recover=all -I"$exchange" -I"$daemon" "$here/fuzz_pjlink.cpp" \
    "$daemon/line_framer.cpp" "$daemon/pjlink_protocol.cpp" "$daemon/pjlink_auth.cpp" \
    "$exchange/projector_readings.cpp" \
    $(pkg-config --cflags --libs Qt6Core) -o "$out/fuzz_pjlink"
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 ./fuzz_pjlink -max_total_time="${2:-60}" \
    -print_final_stats=1 -artifact_prefix="$out/artifacts/" "$out/pjlink-corpus"
