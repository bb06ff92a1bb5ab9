#!/usr/bin/env bash
# Sets everything up and starts the game in its game folder (outside the
# source tree), which is prepared from data/ when files are missing.
set -euo pipefail
cd "$(dirname "$0")/.."
REPO=$(pwd)
VRASK_TARGETS="vrask vrask-server" scripts/setup.sh build
GAME_DIR=${VRASK_HOME:-${XDG_DATA_HOME:-$HOME/.local/share}/vrask}
mkdir -p "$GAME_DIR"
# Copy only what is missing: maps and ban lists the player made stay.
cp -n data/* "$GAME_DIR"/ 2>/dev/null || true
cd "$GAME_DIR"
exec "$REPO/build/vrask" "$@"
