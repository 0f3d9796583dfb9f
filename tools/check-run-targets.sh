#!/usr/bin/env bash
# Checks that run.sh builds every program the README runs: each one it runs from build/bin/, and each
# program of the build (a named add_executable) that it names, unless another script the README runs
# builds it, so its commands work on a fresh clone. Prints each program it misses and fails on any.
set -uo pipefail
cd "$(dirname "$0")/.."

targets=$(grep -E '^cmake --build build ' run.sh | grep -oE -- '--target( [A-Za-z0-9_]+)+' | cut -d' ' -f2-)
built=$(find . -name CMakeLists.txt -not -path './build*' -exec grep -hoE 'add_executable\([A-Za-z0-9_]+' {} + | cut -d'(' -f2 | sort -u)
scripts=$(grep -oE '(^|[[:space:]])tools/[A-Za-z0-9_/.-]+\.sh' README.md | sed 's/^[[:space:]]*//' | sort -u)
named=$(for program in $built; do
    grep -qw -- "$program" README.md || continue
    for script in $scripts; do grep -qw -- "$program" "$script" && continue 2; done
    echo "$program"
done)
bad=0
for program in $( (grep -oE 'build/bin/[A-Za-z0-9_]+' README.md | cut -d/ -f3; echo "$named") | sort -u); do
    if ! grep -qw -- "$program" <<<"$targets"; then
        echo "run.sh does not build $program, which the README runs"
        bad=1
    fi
done
exit $bad
