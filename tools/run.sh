#!/usr/bin/env bash
# Builds OrbStock and starts the desktop program against the simulated
# broker server that runs inside it. Extra arguments go to the program
# (--server HOST:PORT, --data-dir DIR, --tour DIR, --help). When no display
# answers, the program runs on a virtual screen (Xvfb) that nobody sees.
# ORB_JOBS sets the build jobs (default: the number of processors).
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/common.sh
bash tools/deps.sh
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-Debug} -DORB_SANITIZE=OFF
cmake --build "$build" -j "$ORB_JOBS"
program="$build/tools/orbstock/orbstock"
if ! [ -f "$program" ] || ! [ -x "$program" ]; then
  echo "The build made no $program: the desktop program needs SDL2 (libsdl2-dev)." >&2
  exit 1
fi
# The tour and the usage need no display.
for arg in "$@"; do
  case $arg in --tour | --help | -h) exec "$program" "$@" ;; esac
done
if orb_display_answers; then
  exec "$program" "$@"
fi
echo "run.sh: no display answers (DISPLAY='${DISPLAY:-}'): OrbStock runs on a virtual screen" \
  "that nobody sees; stop it with Ctrl-C. To look at its screens, run: bash tools/run.sh --tour DIR" >&2
unset WAYLAND_DISPLAY
exec xvfb-run -a -s "-screen 0 800x900x24" "$program" "$@"
