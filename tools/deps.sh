#!/usr/bin/env bash
# Installs the Debian packages that building, running, testing and fuzzing
# OrbStock need (clang and its runtime libraries build the fuzz targets;
# xprop tells whether a display answers). Does nothing when they are all
# present; otherwise runs apt-get as root (through sudo when not root),
# waiting up to ten minutes for another package manager to let go.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config
  zlib1g-dev libssl-dev libsqlite3-dev libpng-dev libfreetype-dev libfontconfig-dev
  libbrotli-dev libexpat1-dev
  libsdl2-dev libgtest-dev libbenchmark-dev
  fonts-wqy-microhei xvfb xauth x11-utils
  clang libclang-rt-14-dev
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
wait_seconds=600
deadline=$((SECONDS + wait_seconds))
errors=$(mktemp)
trap 'rm -f "$errors"' EXIT
# apt-get waits for dpkg's lock itself (DPkg::Lock::Timeout); the package
# lists' lock, which an update needs, is waited for here, within the same bound.
apt_get() {
  while :; do
    local left=$((deadline - SECONDS))
    [ "$left" -gt 0 ] || left=1
    if $sudo apt-get -o DPkg::Lock::Timeout="$left" "$@" 2>"$errors"; then
      cat "$errors" >&2
      return 0
    fi
    if grep -qi "lock" "$errors" && [ "$SECONDS" -lt "$deadline" ]; then
      [ -n "${told:-}" ] || echo "deps.sh: another package manager is busy; waiting for it (up to ${wait_seconds} s)" >&2
      told=1
      sleep 5
      continue
    fi
    cat "$errors" >&2
    return 1
  done
}
apt_get update -qq
apt_get install -y -qq --no-install-recommends "${missing[@]}"
