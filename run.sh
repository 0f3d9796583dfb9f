#!/usr/bin/env bash
# Builds the program if needed and starts it with the simulated receiver and mouse.
set -euo pipefail
cd "$(dirname "$0")"
bash tools/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target VorlantZEMB -j"$(nproc)"
exec build/bin/VorlantZEMB "$@"
