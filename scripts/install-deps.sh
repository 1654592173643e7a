#!/usr/bin/env bash
# Installs everything the suite needs to build, test and benchmark on Debian 12.
# Idempotent: apt-get skips what is already there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools libgl-dev libxkbcommon-dev
  libavcodec-dev libavutil-dev libswscale-dev
  libxvidcore-dev
  libasound2-dev
  xvfb xauth libx11-dev libxtst-dev
  libssl-dev libspdlog-dev
  fonts-dseg fonts-wqy-microhei fonts-dejavu-core
  libgtest-dev libgmock-dev libbenchmark-dev libyuv-dev dbus-daemon
  clang libclang-rt-14-dev clang-format clang-tidy
)

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
