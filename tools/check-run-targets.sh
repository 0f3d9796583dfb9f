#!/usr/bin/env bash
# Checks that run.sh builds every program the README runs from build/bin/, so its commands work on a
# fresh clone. Prints each program it misses and fails on any.
set -uo pipefail
cd "$(dirname "$0")/.."

targets=$(grep -E '^cmake --build build ' run.sh | grep -oE -- '--target( [A-Za-z0-9_]+)+' | cut -d' ' -f2-)
bad=0
for program in $(grep -oE 'build/bin/[A-Za-z0-9_]+' README.md | cut -d/ -f3 | sort -u); do
    if ! grep -qw -- "$program" <<<"$targets"; then
        echo "run.sh does not build $program, which the README runs as build/bin/$program"
        bad=1
    fi
done
exit $bad
