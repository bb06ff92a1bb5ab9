#!/usr/bin/env bash
# Sets everything up and runs all tests headless: the full build, then the
# core tests again built with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy

scripts/setup.sh build
(cd build && ctest --output-on-failure -j "$(nproc)")

scripts/setup.sh build-asan -DVRASK_GUI=OFF -DVRASK_BENCH=OFF -DVRASK_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j "$(nproc)")
