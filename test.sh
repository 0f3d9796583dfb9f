#!/usr/bin/env bash
# Builds everything and runs every test headless: once as is, once under ASan and UBSan.
set -euo pipefail
cd "$(dirname "$0")"
bash tools/setup.sh
export QT_QPA_PLATFORM=offscreen
jobs="$(nproc)"

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DVZ_SANITIZE=ON -DVZ_WERROR=ON >/dev/null
cmake --build build-asan -j"$jobs"
(cd build-asan && ctest --output-on-failure -j"$jobs")

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVZ_WERROR=ON >/dev/null
cmake --build build -j"$jobs"
cd build && ctest --output-on-failure -j"$jobs"
