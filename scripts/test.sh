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
# A one-minute soak of the sanitizer-built server and eight bots on a bad link.
BUILD=build-asan bench/soak.sh 60

# The libFuzzer targets, each for a bounded number of inputs
# (tools/fuzz_long.sh runs them for a million each).
scripts/setup.sh build-fuzz -DVRASK_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++-14
(cd build-fuzz && ctest --output-on-failure -j "$(nproc)")
