#!/usr/bin/env bash
# Installs the Debian packages Vrask needs (when missing) and builds it.
#   scripts/setup.sh [build-dir] [extra cmake options...]
# VRASK_TARGETS names the targets to build (default: all).
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(cmake g++ ninja-build pkg-config qt6-base-dev libgl-dev libgtest-dev libgmock-dev
          libbenchmark-dev libsdl2-mixer-dev libsdl2-dev libfluidsynth-dev libflac-dev libsodium-dev libzstd-dev libxcb1-dev libxcb-shm0-dev xvfb fonts-dejavu-core timgm6mb-soundfont
          desktop-file-utils appstream systemd man-db dpkg-dev libcpp-httplib-dev python3-yaml curl
          clang-14 libclang-rt-14-dev libfuzzer-14-dev)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi

BUILD=${1:-build}
shift || true
cmake -S . -B "$BUILD" -G Ninja "$@" > "$BUILD.cmake.log" 2>&1 || { cat "$BUILD.cmake.log"; exit 1; }
# shellcheck disable=SC2086
cmake --build "$BUILD" -j "$(nproc)" ${VRASK_TARGETS:+--target $VRASK_TARGETS}
