#!/usr/bin/env bash
# Builds OrbStock and starts the desktop program against the simulated
# broker server that runs inside it. Extra arguments go to the program
# (for example --server HOST:PORT).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-Debug} -DORB_SANITIZE=OFF
cmake --build "$build" -j "$(nproc)"
if [ -x "$build/tools/orbstock" ]; then
  exec "$build/tools/orbstock" "$@"
fi
echo "The libraries are built. The desktop program itself arrives with the application framework;"
echo "until then 'bash tools/test.sh' runs what exists."
