# Sourced by the scripts in tools/: the parallelism and the display check
# they share.

# ORB_JOBS: how many build jobs, tests and fuzz targets run at once
# (default: the number of processors).
ORB_JOBS=${ORB_JOBS:-$(nproc)}
case $ORB_JOBS in
'' | *[!0-9]* | 0) echo "ORB_JOBS wants a number of jobs (1 or more), not '$ORB_JOBS'" >&2; exit 64 ;;
esac
export ORB_JOBS
# ctest run by hand from this shell, or by a script, takes the same number.
export CTEST_PARALLEL_LEVEL=$ORB_JOBS

# True when a display answers: an X server that replies within 2 s (a
# DISPLAY left from a dropped remote session does not), or a Wayland socket.
orb_display_answers() {
  if [ -n "${DISPLAY:-}" ] && timeout 2 xprop -root >/dev/null 2>&1; then
    return 0
  fi
  local wayland=${WAYLAND_DISPLAY:-}
  [ -n "$wayland" ] || return 1
  case $wayland in /*) ;; *) wayland=${XDG_RUNTIME_DIR:-/nonexistent}/$wayland ;; esac
  [ -S "$wayland" ]
}
