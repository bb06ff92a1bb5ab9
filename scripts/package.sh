#!/usr/bin/env bash
# Builds the Debian package build-deb/vrask_1.0_amd64.deb (release build, the
# dependencies read from the programs by dpkg-shlibdeps) and checks it with
# lintian when lintian is installed.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build-deb}
VRASK_TARGETS=vrask_installables \
  scripts/setup.sh "$BUILD" -DCMAKE_BUILD_TYPE=Release -DVRASK_BENCH=OFF -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON
(cd "$BUILD" && cpack -G DEB)
deb=$(ls "$BUILD"/vrask_*.deb)
echo "Built $deb"
if command -v lintian >/dev/null; then lintian --info "$deb" || true; fi
