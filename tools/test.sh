#!/usr/bin/env bash
# Builds OrbStock and runs every test. BUILD_DIR picks the build folder
# (default build); ORB_SANITIZE=1 builds with ASan and UBSan; ORB_JOBS sets
# the build jobs and the tests run at once (default: the number of
# processors). When no display answers (none set, or one left from a
# dropped session), the tests run on a virtual one, so the desktop window's
# tests meet a real X server.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/common.sh
bash tools/deps.sh
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-Debug} \
  -DORB_SANITIZE=$([ "${ORB_SANITIZE:-0}" = 1 ] && echo ON || echo OFF)
cmake --build "$build" -j "$ORB_JOBS"
run=()
if ! orb_display_answers; then
  unset WAYLAND_DISPLAY
  run=(xvfb-run -a -s "-screen 0 800x900x24")
fi
${run[@]+"${run[@]}"} ctest --test-dir "$build" --output-on-failure -j "$ORB_JOBS"
