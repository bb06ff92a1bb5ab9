#!/bin/bash
# Screenshots of the six small dialogs, taken from the running program on a
# virtual screen: docs/screenshots/dialog-*.png.
# Needs Xvfb, openbox, xdotool and ImageMagick. Usage, from the source tree:
#   tools/dialog_screenshots.sh build/vrask
set -eu
program=$(realpath "${1:-build/vrask}")
out=$(realpath -m docs/screenshots)
mkdir -p "$out"
game=$(mktemp -d)
cp data/* "$game"/
display=${VRASK_SHOT_DISPLAY:-:57}
# Openbox draws its own buttons (minimise, maximise, close) on every frame,
# whatever boxes a window asks for in its hints (xprop _MOTIF_WM_HINTS shows
# what each dialog asks). So that the pictures show the frames the dialogs
# ask for, Openbox's title layout is set to match before each shot: caption
# only for the welcome and nickname dialogs, close and minimise boxes for
# the About and help dialogs.
rc=$(mktemp -d)
sed 's|<titleLayout>.*</titleLayout>|<titleLayout>L</titleLayout>|' /etc/xdg/openbox/rc.xml >"$rc/nobox.xml"
sed 's|<titleLayout>.*</titleLayout>|<titleLayout>NLIC</titleLayout>|' /etc/xdg/openbox/rc.xml >"$rc/closebox.xml"

Xvfb $display -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
sleep 1
openbox --config-file "$rc/nobox.xml" >/dev/null 2>&1 &
wm=$!
sleep 1
cleanup() {
  kill "${app:-}" "$wm" "$xvfb" 2>/dev/null || true
  rm -rf "$game" "$rc"
}
trap cleanup EXIT

windowManager() {
  kill "$wm" 2>/dev/null || true
  wait "$wm" 2>/dev/null || true
  openbox --config-file "$rc/$1.xml" >/dev/null 2>&1 &
  wm=$!
  sleep 1
}

# Saves the window of that title, frame included.
shoot() {
  local id
  id=$(xdotool search --sync --onlyvisible --name "$1" | head -1)
  sleep 0.7
  import -frame -window "$id" "$out/$2"
  echo "$out/$2"
}

(cd "$game" && VRASK_HOME="$game" exec "$program") &
app=$!
shoot "Welcome to Vrask" dialog-welcome.png
xdotool key Return
main=$(xdotool search --sync --onlyvisible --name "Vrask 1.0" | head -1)
sleep 0.5

xdotool windowactivate --sync "$main" key alt+o c
shoot "Change Nick Name" dialog-nickname.png
xdotool key Escape  # does nothing
xdotool key alt+n   # Cancel
sleep 0.5

windowManager closebox
for item in "a:Vrask - About:dialog-about.png" "p:Vrask - Gameplay:dialog-help-gameplay.png" \
            "t:Quick look at the Status Bar:dialog-help-status-bar.png" \
            "c:Vrask - Client/Server:dialog-help-client-server.png"; do
  IFS=: read -r key title file <<<"$item"
  xdotool windowactivate --sync "$main" key alt+h "$key"
  shoot "$title" "$file"
  xdotool key alt+F4
  sleep 0.5
done
