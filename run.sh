#!/usr/bin/env bash
# Builds the program, vzsim (to change the simulated devices while it runs) and vzfwimage (to write
# firmware images) if needed, then starts the program with the simulated receiver and mouse.
set -euo pipefail
cd "$(dirname "$0")"
bash tools/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target VorlantZEMB vzsim vzfwimage -j"$(nproc)"
exec build/bin/VorlantZEMB "$@"
