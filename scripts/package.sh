#!/usr/bin/env bash
# Builds the Debian package build-deb/vrask_1.0_amd64.deb (release build, the
# dependencies read from the programs by dpkg-shlibdeps) and checks it with
# lintian when lintian is installed. As Debian asks of games, the programs
# go to /usr/games.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build-deb}
# The compiler and linker hardening that Debian builds its packages with.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
VRASK_TARGETS=vrask_installables \
  scripts/setup.sh "$BUILD" -DCMAKE_BUILD_TYPE=Release -DVRASK_BENCH=OFF -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON \
  -DCMAKE_INSTALL_BINDIR=games \
  "-DCMAKE_CXX_FLAGS=$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
  "-DCMAKE_EXE_LINKER_FLAGS=$(dpkg-buildflags --get LDFLAGS)"
(cd "$BUILD" && cpack -G DEB)
deb=$(ls "$BUILD"/vrask_*.deb)
echo "Built $deb"
if command -v lintian >/dev/null; then lintian --info "$deb" || true; fi
