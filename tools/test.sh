#!/usr/bin/env bash
# Builds OrbStock and runs every test. BUILD_DIR picks the build folder
# (default build); ORB_SANITIZE=1 builds with ASan and UBSan.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-Debug} \
  -DORB_SANITIZE=$([ "${ORB_SANITIZE:-0}" = 1 ] && echo ON || echo OFF)
cmake --build "$build" -j "$(nproc)"
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
