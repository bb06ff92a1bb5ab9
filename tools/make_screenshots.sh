#!/bin/sh
# Renders docs/screenshots/ from the pictures embedded in the program:
# builds vrask-sheets, dumps every sheet enlarged, converts to PNG.
# Usage: tools/make_screenshots.sh [build folder]   (default: build)
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
ninja -C "$build" vrask-sheets
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
"$build/vrask-sheets" "$tmp" 4
mkdir -p "$root/docs/screenshots"
for f in "$tmp"/*.ppm; do
  name=$(basename "$f" .ppm)
  case $name in
    scene-*) ;;
    *) convert "$f" "$root/docs/screenshots/$name.png" ;;
  esac
done
# the scene at its four phases, one above the other, and as an animation
convert "$tmp"/scene-phase-0.ppm "$tmp"/scene-phase-1.ppm "$tmp"/scene-phase-2.ppm \
  "$tmp"/scene-phase-3.ppm -append "$root/docs/screenshots/scene-phases.png"
convert -delay 16 -loop 0 "$tmp"/scene-phase-*.ppm "$root/docs/screenshots/scene.gif"
