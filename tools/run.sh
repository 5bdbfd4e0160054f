#!/usr/bin/env bash
# Builds OrbStock and starts the desktop program against the simulated
# broker server that runs inside it. Extra arguments go to the program
# (--server HOST:PORT, --data-dir DIR, --tour DIR). Without a display the
# program says so and how to run it (xvfb-run -a bash tools/run.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-Debug} -DORB_SANITIZE=OFF
cmake --build "$build" -j "$(nproc)"
program="$build/tools/orbstock/orbstock"
if [ -f "$program" ] && [ -x "$program" ]; then
  exec "$program" "$@"
fi
echo "The build made no $program: the desktop program needs SDL2 (libsdl2-dev)." >&2
exit 1
