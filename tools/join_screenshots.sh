#!/usr/bin/env bash
# Two copies of the real program on one machine play one game under Xvfb:
# a host (F2) and a client that joins "localhost" 2727 (F1); a third copy
# on the same host is denied; then the host falls silent and the client
# gives it up. Keeps docs/screenshots/join-*.png. Needs xvfb, openbox,
# xdotool and imagemagick.
#   tools/join_screenshots.sh [build/vrask] [display]
set -euo pipefail
cd "$(dirname "$0")/.."
VRASK=$(realpath "${1:-build/vrask}")
DISPLAY_NUM=${2:-:12}
OUT=$(realpath docs/screenshots)
HOST_DIR=$(mktemp -d)
GUEST_DIR=$(mktemp -d)
THIRD_DIR=$(mktemp -d)
for d in "$HOST_DIR" "$GUEST_DIR" "$THIRD_DIR"; do cp data/* "$d"/; done

Xvfb $DISPLAY_NUM -screen 0 1440x700x24 >/dev/null 2>&1 &
XVFB=$!
export DISPLAY=$DISPLAY_NUM
sleep 1
openbox >/dev/null 2>&1 &
WM=$!
PIDS=()
trap 'kill -CONT "${PIDS[@]}" 2>/dev/null || true; kill "${PIDS[@]}" $WM $XVFB 2>/dev/null || true; rm -rf "$HOST_DIR" "$GUEST_DIR" "$THIRD_DIR"' EXIT

window() { xdotool search --sync --name "$1" | head -1; }
focus() { xdotool windowactivate --sync "$(window "$1")" >/dev/null 2>&1 || true; }
# A window with its frame.
shot_window() {
  local w
  w=$(window "$1")
  eval "$(xdotool getwindowgeometry --shell "$w")"
  import -window root -crop $((WIDTH + 4))x$((HEIGHT + 44))+$((X - 2))+$((Y - 42)) +repage "$OUT/$2"
  echo "wrote $2"
}
start() {  # folder, nickname
  (cd "$1" && exec "$VRASK") >/dev/null 2>&1 &
  PIDS+=($!)
  focus "Welcome to Vrask"
  sleep 3  # the dialog unrolls first
  xdotool key ctrl+a
  xdotool type "$2"
  xdotool key Return
  sleep 1.5
}

# The host: a server with the defaults (port 2727, computer players, the
# host plays) on the first saved map.
start "$HOST_DIR" Host
HOST_PID=${PIDS[0]}
xdotool windowmove "$(window 'Vrask 1.0 \[Host\]')" 0 20
focus 'Vrask 1.0 \[Host\]'
xdotool key F2
sleep 1
focus "Choose New Server Settings"
xdotool key Return
sleep 1
focus "Choose a map"
xdotool key Return
sleep 1

# The guest joins localhost 2727, the address dialog's defaults.
start "$GUEST_DIR" Guest
xdotool windowmove "$(window 'Vrask 1.0 \[Guest\]')" 720 20
focus 'Vrask 1.0 \[Guest\]'
xdotool key F1
sleep 1
shot_window "Server address" join-1-address-dialog.png
focus "Server address"
xdotool key Return
sleep 0.5  # within the attempt's second
shot_window "Establishing Connection" join-2-connecting.png
sleep 2
focus 'Vrask 1.0 \[Guest\]'
for k in Down Right Up Left; do
  xdotool key $k
  sleep 0.7
done
import -window root -crop 1428x586+0+0 +repage "$OUT/join-3-host-and-client.png"
echo "wrote join-3-host-and-client.png"

# A third copy on the same machine is refused: its address has a place.
start "$THIRD_DIR" Third
focus 'Vrask 1.0 \[Third\]'
xdotool key F1
sleep 1
focus "Server address"
xdotool key Return
sleep 2.5
shot_window "Establishing Connection" join-4-denied.png
focus "Establishing Connection"
xdotool key alt+c
sleep 0.5

# The host stops answering: after 201 steps the guest gives it up.
kill -STOP "$HOST_PID"
sleep 10
shot_window "You Were Disconnected" join-5-disconnected.png
kill -CONT "$HOST_PID"
