#!/usr/bin/env bash
# Installs the Debian packages that building, running, testing and fuzzing
# OrbStock need (clang and its runtime libraries build the fuzz targets).
# Does nothing when they are all present; otherwise runs apt-get as root
# (through sudo when not root).
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config
  zlib1g-dev libssl-dev libsqlite3-dev libpng-dev libfreetype-dev libfontconfig-dev
  libsdl2-dev libgtest-dev libgmock-dev libbenchmark-dev
  fonts-wqy-microhei xvfb xauth
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
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
