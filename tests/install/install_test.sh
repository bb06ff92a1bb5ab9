#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what players and
# hosts meet there: every installed file, the desktop entry, metainfo and
# service unit against their validators, --help, --version and a wrong
# option for both programs, the server filling a fresh --dir and serving the
# default map, and the game filling an empty game folder while leaving a
# changed map alone. Every wait is bounded; datagrams go to 127.0.0.1 only.
#   tests/install/install_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
BUILD=$(realpath "$1")
SRC=$(realpath "$2")
TMP=$(mktemp -d)
PIDS=()
cleanup() {
  for p in "${PIDS[@]}"; do kill "$p" 2>/dev/null || true; done
  rm -rf "$TMP"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
# wait_for SECONDS COMMAND...: polls every 0.1 s until the command succeeds.
wait_for() {
  local tries=$(($1 * 10))
  shift
  for ((i = 0; i < tries; i++)); do "$@" && return 0; sleep 0.1; done
  return 1
}

PREFIX=$TMP/prefix
cmake --install "$BUILD" --prefix "$PREFIX" >/dev/null

# --- every installed file
for f in bin/vrask bin/vrask-server share/applications/vrask.desktop \
         share/metainfo/org.example.vrask.metainfo.xml share/man/man6/vrask.6.gz \
         share/man/man6/vrask-server.6.gz lib/systemd/system/vrask-server@.service \
         share/doc/vrask/copyright share/doc/vrask/changelog.gz; do
  [ -s "$PREFIX/$f" ] || fail "not installed: $f"
done
if [ -e "$BUILD/vrask-bots" ]; then
  [ -x "$PREFIX/bin/vrask-bots" ] || fail "not installed: bin/vrask-bots"
  [ -s "$PREFIX/share/man/man6/vrask-bots.6.gz" ] || fail "not installed: share/man/man6/vrask-bots.6.gz"
fi
for f in "$SRC"/data/*; do
  cmp -s "$f" "$PREFIX/share/vrask/$(basename "$f")" || fail "not installed: share/vrask/$(basename "$f")"
done
for s in 32 48 64 128 256; do
  icon=$PREFIX/share/icons/hicolor/${s}x${s}/apps/vrask.png
  [ -s "$icon" ] || fail "not installed: $icon"
  # The width and height in the PNG header must be the folder's size.
  size=$(od -An -tu1 -j16 -N8 "$icon" | awk '{print $3*256+$4 "x" $7*256+$8}')
  [ "$size" = "${s}x${s}" ] || fail "$icon is $size"
done
grep -q "^ExecStart=$PREFIX/bin/vrask-server " "$PREFIX/lib/systemd/system/vrask-server@.service" ||
  fail "the unit does not start the installed server"
grep -qx "Exec=$PREFIX/bin/vrask" "$PREFIX/share/applications/vrask.desktop" ||
  fail "the desktop entry does not start the installed game"

# --- validators (installed by scripts/setup.sh; skipped where missing)
if command -v desktop-file-validate >/dev/null; then
  # Warnings and hints count as failures too.
  out=$(desktop-file-validate "$PREFIX/share/applications/vrask.desktop" 2>&1) && [ -z "$out" ] ||
    fail "desktop-file-validate: $out"
else
  echo "SKIPPED: desktop-file-validate is not installed (package desktop-file-utils)"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net --strict "$PREFIX/share/metainfo/org.example.vrask.metainfo.xml" ||
    fail "appstreamcli validate"
else
  echo "SKIPPED: appstreamcli is not installed (package appstream)"
fi
if command -v systemd-analyze >/dev/null; then
  # The unit's documentation is the installed manual page.
  man_check=--man=yes
  command -v man >/dev/null || { man_check=--man=no; echo "NOTE: man is not installed; the unit's man: link is not checked"; }
  # A setting systemd cannot parse is only a message ("ignoring"): fail on any.
  out=$(MANPATH=$PREFIX/share/man systemd-analyze verify $man_check \
    "$PREFIX/lib/systemd/system/vrask-server@.service" 2>&1) && [ -z "$out" ] ||
    fail "systemd-analyze verify: $out"
else
  echo "SKIPPED: systemd-analyze is not installed (package systemd)"
fi

# --- --help, --version and a wrong option, without a display
for prog in vrask vrask-server; do
  bin=$PREFIX/bin/$prog
  [ "$(env -u DISPLAY -u WAYLAND_DISPLAY "$bin" --version)" = "$prog 1.0" ] || fail "$prog --version"
  env -u DISPLAY "$bin" --help | head -1 | grep -q "^usage: $prog " || fail "$prog --help"
  set +e
  out=$(env -u DISPLAY "$bin" --no-such-option 2>"$TMP/err")
  rc=$?
  set -e
  [ "$rc" = 2 ] || fail "$prog with a wrong option exits $rc"
  [ -z "$out" ] || fail "$prog with a wrong option wrote to standard output"
  grep -q "^usage: $prog " "$TMP/err" || fail "$prog with a wrong option shows no usage"
done

# --- the server fills a fresh --dir and serves the default map
SRV=$TMP/state/2727
started=""
for try in 1 2 3 4 5; do
  port=$((20000 + (RANDOM % 40000)))
  "$PREFIX/bin/vrask-server" --dir "$SRV" --port "$port" --seed 1 >"$TMP/server.out" 2>&1 &
  PIDS+=($!)
  # Up, or ended (another try only when the port was taken).
  wait_for 10 bash -c "grep -qx 'Server, port $port' '$TMP/server.out' || ! kill -0 ${PIDS[-1]} 2>/dev/null" || true
  if grep -qx "Server, port $port" "$TMP/server.out"; then started=$port; break; fi
  kill "${PIDS[-1]}" 2>/dev/null || true
  grep -q "cannot bind" "$TMP/server.out" || break
done
[ -n "$started" ] || { cat "$TMP/server.out"; fail "vrask-server --dir did not start"; }
for f in "$SRC"/data/*; do
  cmp -s "$f" "$SRV/$(basename "$f")" || fail "vrask-server --dir did not fill $(basename "$f")"
done
exec 3<>"/dev/udp/127.0.0.1/$started"
printf 'PMf - I need the map\r\n' >&3
got=$(timeout 3 dd bs=1024 count=1 <&3 2>/dev/null | od -An -tu1 -v | xargs)
exec 3>&-
# "PMf" and the 196 tile codes of pakmap.map, each plus 1.
want="80 77 102 $(head -14 "$SRC/data/pakmap.map" | tr -d '\r\n' | od -An -tu1 -v | xargs -n1 | awk '{printf "%d ", $1 - 47}')"
[ "$got" = "${want% }" ] || fail "the server did not serve the default map: got '$got'"
kill -TERM "${PIDS[-1]}"
wait_for 5 bash -c "! kill -0 ${PIDS[-1]} 2>/dev/null" || fail "vrask-server did not stop on SIGTERM"

# --- the game fills an empty game folder and leaves a changed map alone
HOMEDIR=$TMP/home
GAME=$HOMEDIR/.local/share/vrask
mkdir -p "$HOMEDIR"
run_game() {  # runs the installed game until $1 exists in the game folder
  env -u VRASK_HOME -u XDG_DATA_HOME HOME="$HOMEDIR" QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy \
    "$PREFIX/bin/vrask" >"$TMP/game.out" 2>&1 &
  PIDS+=($!)
  wait_for 10 test -e "$GAME/$1" || { cat "$TMP/game.out"; fail "vrask did not fill $GAME"; }
  sleep 0.5  # at the welcome dialog by now
  kill -0 "${PIDS[-1]}" 2>/dev/null || { cat "$TMP/game.out"; fail "vrask ended at start-up"; }
  kill "${PIDS[-1]}"
  wait_for 5 bash -c "! kill -0 ${PIDS[-1]} 2>/dev/null" || fail "vrask did not end on SIGTERM"
}
run_game pakmap.map
for f in "$SRC"/data/*; do
  cmp -s "$f" "$GAME/$(basename "$f")" || fail "vrask did not fill $(basename "$f")"
done
printf 'my own map' >"$GAME/pakmap.map"
rm "$GAME/pakmap1.map"
run_game pakmap1.map
[ "$(cat "$GAME/pakmap.map")" = "my own map" ] || fail "vrask overwrote a changed pakmap.map"
cmp -s "$SRC/data/pakmap1.map" "$GAME/pakmap1.map" || fail "vrask did not restore pakmap1.map"
# --- a game folder that cannot be made is reported, not ignored
touch "$TMP/a-file"
set +e
"$PREFIX/bin/vrask-server" --dir "$TMP/a-file/srv" --port 2727 >/dev/null 2>"$TMP/err"
rc=$?
set -e
[ "$rc" = 1 ] && grep -q "^vrask-server: cannot use the folder $TMP/a-file/srv" "$TMP/err" ||
  fail "vrask-server with an unusable --dir exits $rc: $(cat "$TMP/err")"
# The game also shows it in a message box, which waits for OK: stop it there.
VRASK_HOME=$TMP/a-file/game QT_QPA_PLATFORM=offscreen timeout 5 "$PREFIX/bin/vrask" 2>"$TMP/err" >/dev/null || true
grep -q "^vrask: Could not use the game folder $TMP/a-file/game" "$TMP/err" ||
  fail "vrask with an unusable game folder: $(cat "$TMP/err")"
echo "install test passed"
