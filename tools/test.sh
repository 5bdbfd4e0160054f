#!/usr/bin/env bash
# Builds OrbStock and runs every test. BUILD_DIR picks the build folder
# (default build); ORB_SANITIZE=1 builds with ASan and UBSan. Without a
# display the tests run on a virtual one, so the desktop window's tests
# meet a real X server.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-Debug} \
  -DORB_SANITIZE=$([ "${ORB_SANITIZE:-0}" = 1 ] && echo ON || echo OFF)
cmake --build "$build" -j "$(nproc)"
run=()
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && command -v xvfb-run >/dev/null; then
  run=(xvfb-run -a -s "-screen 0 800x900x24")
fi
${run[@]+"${run[@]}"} ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
