#!/usr/bin/env bash
# Remakes what the tests compare the window with, from the program as it stands, for when a change
# of what the window shows or says is meant: the pictures of the window (tests/panel/reference/
# *.png, by test_pictures) and the accessibility tree as a screen reader reads it
# (tests/panel/reference/accessibility-tree.txt, by test_screen_reader). Look at the result with
# git diff (and the pictures themselves) before committing it.
# Usage: scripts/remake-references.sh [build-dir]   (default build/test)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/test}

scripts/install-deps.sh
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build" -j"$(nproc)" --target test_pictures zra70-panel zra70-sim
ZRA70_REMAKE_REFERENCES=1 ctest --test-dir "$build" --output-on-failure \
    -R '^(test_pictures.*|test_screen_reader)$'
git status --short tests/panel/reference
