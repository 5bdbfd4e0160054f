#!/usr/bin/env bash
# Re-records the reference screens (tests/screens/<screen>.png) from the
# screenshot tour, after a change that is meant to alter what a screen
# shows. Look at every changed picture before committing it. ORB_JOBS sets
# the build jobs (default: the number of processors).
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/common.sh
bash tools/deps.sh
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-Debug} >/dev/null
cmake --build "$build" -j "$ORB_JOBS" --target orbstock
rm -f tests/screens/*_err.png tests/screens/*_diff.png
"$build/tools/orbstock/orbstock" --tour tests/screens
