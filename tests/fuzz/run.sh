#!/bin/sh
# Builds each fuzz target with clang++-14 and runs it for its share of a bounded time.
# Usage: tests/fuzz/run.sh BUILD_DIR [SECONDS]   (SECONDS in all, defaults to 60)
# Exits non-zero on a crash or sanitizer report. Everything it writes goes under BUILD_DIR/fuzz:
# the binaries, working copies of the seed corpora and any crash artifacts.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root="$here/../.."
mkdir -p "${1:?usage: $0 BUILD_DIR [SECONDS]}/fuzz"
out="$(cd "$1/fuzz" && pwd)"

# One line a target: its name (fuzz_NAME.cpp, seeds in corpus/NAME/), then the product sources
# it reads, from the repository's top.
targets="
exchange exchange/traffic_render.cpp exchange/reply_decoder.cpp exchange/number_reader.cpp exchange/pressure.cpp
telnet serial/telnet_codec.cpp serial/com_port_session.cpp
pjlink daemon/line_framer.cpp daemon/pjlink_protocol.cpp daemon/pjlink_auth.cpp exchange/projector_readings.cpp
mqtt daemon/mqtt_topics.cpp daemon/mqtt_entities.cpp exchange/projector_readings.cpp
"

seconds=$(( ${2:-60} / $(echo "$targets" | grep -c .) ))
echo "$targets" | while read -r name sources; do
    [ -n "$name" ] || continue
    mkdir -p "$out/$name/corpus" "$out/$name/artifacts"
    cp -n "$here/corpus/$name"/* "$out/$name/corpus/" 2>/dev/null || true
    paths="" includes=""
    for source in $sources; do
        paths="$paths $root/$source"
        includes="$includes -I$root/$(dirname "$source")"
    done
    # shellcheck disable=SC2046,SC2086  # the lists are meant to split into words
    clang++-14 -std=c++20 -g -O1 -fPIC -Wall -Wextra -fsanitize=fuzzer,address,undefined \
        -fno-sanitize-recover=all $includes "$here/fuzz_$name.cpp" $paths \
        $(pkg-config --cflags Qt6Core Qt6SerialPort) $(pkg-config --libs Qt6Core) \
        -o "$out/$name/fuzz_$name"
    echo "== fuzz_$name ($seconds s)"
    (cd "$out/$name" && UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 ./"fuzz_$name" \
        -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$out/$name/artifacts/" "$out/$name/corpus")
done
