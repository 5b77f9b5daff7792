#!/usr/bin/env bash
# Code lines of the tests against the rest of the project, counted by cloc (blank lines and
# comments left out, and the data the tests read: the fuzz corpus and the reference/ files made
# by scripts/remake-references.sh), with the tests' lines by folder. The project keeps the ratio
# at 0.25-0.35.
set -euo pipefail
cd "$(dirname "$0")/.."

code() { cloc --quiet --csv "$@" | awk -F, '$2 == "SUM" { print $5 }'; }

tests=$(code --exclude-dir=corpus,reference tests)
rest=$(code --exclude-lang=Markdown --exclude-dir=tests,build,docs,packaging,.git .)
for folder in tests/*/; do
    printf '%-22s %6s\n' "$folder" "$(code --exclude-dir=corpus,reference "$folder")"
done
printf '%-22s %6s\n' "tests/ in all" "$tests" "everything else" "$rest"
awk -v t="$tests" -v r="$rest" 'BEGIN { printf "tests / everything else: %.2f\n", t / r }'
