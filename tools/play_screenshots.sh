#!/usr/bin/env bash
# Plays a short game in the real program under Xvfb and keeps screenshots
# of each stage in docs/screenshots/play-*.png: welcome, hosting, choosing a
# map, driving, shield and fire, saving a map, generating one, ending the
# game and quitting. Needs xvfb, openbox, xdotool and imagemagick.
#   tools/play_screenshots.sh [build/vrask]
set -euo pipefail
cd "$(dirname "$0")/.."
VRASK=$(realpath "${1:-build/vrask}")
OUT=$(realpath docs/screenshots)
DISPLAY_NUM=${VRASK_SHOT_DISPLAY:-:11}
GAME=$(mktemp -d)
cp data/* "$GAME"/

Xvfb $DISPLAY_NUM -screen 0 1024x768x24 >/dev/null 2>&1 &
XVFB=$!
export DISPLAY=$DISPLAY_NUM
sleep 1
openbox >/dev/null 2>&1 &
WM=$!
trap 'kill $VRASK_PID $WM $XVFB 2>/dev/null || true; rm -rf "$GAME"' EXIT

(cd "$GAME" && VRASK_HOME="$GAME" exec "$VRASK") >/dev/null 2>&1 &
VRASK_PID=$!

window() { xdotool search --sync --name "$1" | head -1; }
focus() { xdotool windowactivate --sync "$(window "$1")" >/dev/null 2>&1 || true; }
# The main window with its frame, and whatever dialog is over it.
shot() {
  local w x y
  w=$(window "Vrask 1.0")
  eval "$(xdotool getwindowgeometry --shell "$w")"
  import -window root -crop 704x560+$((X - 2))+$((Y - 41)) +repage "$OUT/$1"
  echo "wrote $1"
}

# Welcome: type a nickname and begin.
focus "Welcome to Vrask"
sleep 3  # the dialog unrolls first
xdotool key ctrl+a
xdotool type "Ace"
import -window root -crop 240x330+392+212 +repage "$OUT/play-1-welcome.png"
xdotool key Return
sleep 1.5

# F2: the server settings, with the defaults.
focus "Vrask 1.0"
xdotool key F2
sleep 1
shot play-2-server-settings.png
# Four places: the host and three computer players.
focus "Choose New Server Settings"
xdotool key shift+Tab  # from GO back to the players field
xdotool key ctrl+a
xdotool type "4"
xdotool key Return
sleep 1

# The map chooser lists the saved maps; load the one selected.
shot play-3-choose-map.png
focus "Choose a map"
xdotool key Return
sleep 2
shot play-4-game-started.png

# Drive until the energy is full, fire, then raise the shield.
focus "Vrask 1.0"
for k in Down Right Up Left Down Right; do
  xdotool key $k
  sleep 0.6
done
# The fireball crosses the field in about a second: find the window first
# and take the picture right after the shot.
w=$(window "Vrask 1.0")
eval "$(xdotool getwindowgeometry --shell "$w")"
xdotool key ctrl
sleep 0.1
import -window root -crop 704x560+$((X - 2))+$((Y - 41)) +repage "$OUT/play-5-fire.png"
echo "wrote play-5-fire.png"
sleep 0.8
xdotool key shift
sleep 0.2
shot play-6-shield-up.png
# Die now and then, come back with Control, and watch the frags.
for i in 1 2 3 4 5 6 7 8; do
  xdotool key ctrl
  sleep 1
done
shot play-7-frags.png

# F6: save the current map under the number offered.
xdotool key F6
sleep 1
shot play-8-map-control.png
focus "Vrask Map Control"
xdotool key Escape  # does nothing: only the buttons close it
xdotool key Return
sleep 1
shot play-9-map-saved.png
focus "Saving Map"
xdotool key Return
sleep 0.5
focus "Vrask Map Control"
xdotool key alt+c
sleep 0.5

# F5: load another map while playing.
focus "Vrask 1.0"
xdotool key F5
sleep 1
focus "Choose a map"
xdotool key Up Up Up
xdotool key Return
sleep 1.5
shot play-10-map-loaded.png

# Generate a new maze from the Options menu while playing.
focus "Vrask 1.0"
xdotool key alt+o
sleep 0.3
xdotool key g
sleep 1.5
shot play-11-generated-map.png

# F4 ends the game after asking; Escape then quits at once.
focus "Vrask 1.0"
xdotool key F4
sleep 1
shot play-12-end-game-question.png
xdotool key Return
sleep 1
shot play-13-idle-again.png
focus "Vrask 1.0"
xdotool key Escape
sleep 1
if kill -0 $VRASK_PID 2>/dev/null; then echo "the program did not quit" >&2; exit 1; fi
echo "the program quit"
