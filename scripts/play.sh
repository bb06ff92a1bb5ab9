#!/usr/bin/env bash
# Sets everything up and starts the game. The game fills its own game folder
# ($VRASK_HOME, else ~/.local/share/vrask) with the shipped files that are
# missing there and works in it, outside the source tree.
set -euo pipefail
cd "$(dirname "$0")/.."
VRASK_TARGETS="vrask vrask-server" scripts/setup.sh build
exec build/vrask "$@"
