#!/usr/bin/env bash
# What the window costs the processor: the windowed program under Xvfb with
# Openbox, driven with xdotool, measured from /proc/PID/task/*/schedstat
# (nanoseconds each thread spent on a CPU; far less disturbed by other load
# than wall-clock figures). Six cases, each with music off and on: no game;
# a game hosted with eight places (the host and seven computer players, no
# internet play); the window as a client joined to a vrask-server on this
# machine (127.0.0.1) with eight places, seven of them computer players.
# The server is not measured. Several programs can be given; the
# runs then take turns (A, B, A, B ...) so that a change in the machine's
# load hits both alike.
# Needs xvfb, openbox, xdotool.
#   bench/window_cpu.sh [-r ROUNDS] [-s SECONDS] [-c CASES] VRASK...
#   CASES: comma-separated from idle-off,idle-on,game-off,game-on,
#          client-off,client-on (default: all six)
#   SERVER=vrask-server  the server the clients join (default: build/vrask-server)
#   DISPLAY_NUM=:61  the X display to start (default :61)
#   SHOTS=folder     keep a screenshot of each case there, to check the case
# Prints one line per run: program, case, % of one core, wake-ups a second
# (voluntary context switches of the main thread), the load average.
# The sound goes to SDL's disk driver writing to /dev/null in real time, so
# music costs what it costs with a sound card. Each program has a music cache
# of its own; when an audio_probe lies beside the program, every track is
# rendered into that cache first, so the runs measure a player's usual day
# rather than the one-off render of a track played for the first time.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
rounds=3 seconds=20 cases=idle-off,idle-on,game-off,game-on,client-off,client-on
while getopts r:s:c: o; do
  case $o in
    r) rounds=$OPTARG ;; s) seconds=$OPTARG ;; c) cases=$OPTARG ;;
    *) echo "usage: bench/window_cpu.sh [-r ROUNDS] [-s SECONDS] [-c CASES] VRASK..." >&2; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
[ $# -ge 1 ] || { echo "usage: bench/window_cpu.sh [-r ROUNDS] [-s SECONDS] [-c CASES] VRASK..." >&2; exit 2; }
programs=()
for p in "$@"; do programs+=("$(realpath "$p")"); done

display=${DISPLAY_NUM:-:61}
server_program=$(realpath "${SERVER:-$root/build/vrask-server}")
work=$(mktemp -d)
xvfb= wm= game= server=
cleanup() {
  [ -n "$game" ] && kill "$game" 2>/dev/null || true
  [ -n "$server" ] && kill "$server" 2>/dev/null || true
  [ -n "$wm" ] && kill "$wm" 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
Xvfb "$display" -screen 0 1280x1024x24 >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
sleep 1
openbox >/dev/null 2>&1 &
wm=$!
sleep 1

# The CPU nanoseconds of every thread of the process, added up.
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{s += $1} END {printf "%d", s}'; }
wakeups() { awk '/^voluntary_ctxt_switches/ {print $2}' /proc/"$1"/status; }
# Activates the first window whose title matches, waiting up to ten seconds
# for it. A search can fail when a window goes while it looks (the
# connection dialog closing): it is asked again.
focus() {
  local w= i
  for ((i = 0; i < 20; i++)); do
    w=$(xdotool search --name "$1" 2>/dev/null | head -1) || true
    [ -n "$w" ] && break
    sleep 0.5
  done
  [ -n "$w" ] && xdotool windowactivate --sync "$w" >/dev/null 2>&1 || true
}

# CACHE_ROOT=folder keeps the music caches there, to use them again.
cache_of() { echo "${CACHE_ROOT:-$work}/cache-$(basename "$(dirname "$1")")"; }

for program in "${programs[@]}"; do
  probe=$(dirname "$program")/audio_probe
  [ -x "$probe" ] || continue
  [[ $("$probe" 2>&1 || true) == *render* ]] || continue  # an older probe cannot render
  for track in "$root"/data/vrask*.mid; do
    XDG_CACHE_HOME=$(cache_of "$program") SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null \
      "$probe" render "$track" >/dev/null 2>&1 || true
  done
done

run() {  # program case
  local program=$1 case=$2 home=$work/home-$RANDOM
  mkdir -p "$home"
  cp "$root"/data/* "$home"/
  local port=$((20000 + RANDOM % 20000))
  if [[ $case == client-* ]]; then
    # Eight places; the computer plays the seven the window leaves.
    "$server_program" --dir "$home/server" --port "$port" --max-players 8 >/dev/null 2>&1 &
    server=$!
  fi
  # One music cache for all runs of a program: a track plays from its
  # render after the first run, as it does for a player.
  (cd "$home" && VRASK_HOME="$home" XDG_CACHE_HOME="$(cache_of "$program")" \
     SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null exec "$program") >/dev/null 2>&1 &
  game=$!
  focus "Welcome to Vrask"
  sleep 3  # the dialog unrolls first
  xdotool key Return
  sleep 1.5
  # A key sent before the window manager gave the dialog the focus is lost.
  if xdotool search --name "Welcome to Vrask" >/dev/null 2>&1; then
    focus "Welcome to Vrask"
    xdotool key Return
    sleep 1.5
  fi
  focus "Vrask 1.0"
  [[ $case == *-off ]] && xdotool key F8
  if [[ $case == game-* ]]; then
    xdotool key F2
    sleep 1
    focus "Choose New Server Settings"
    xdotool key shift+Tab ctrl+a
    xdotool type 8
    # Without internet play (Alt+I unticks it): another game on this
    # machine may hold the default port, and the computer players need none.
    xdotool key alt+i
    sleep 0.5
    xdotool key Return
    sleep 1
    focus "Choose a map"
    xdotool key Return
    sleep 1
    focus "Vrask 1.0"
  fi
  if [[ $case == client-* ]]; then
    xdotool key F1
    sleep 1
    focus "Server address"
    xdotool key ctrl+a
    xdotool type 127.0.0.1
    xdotool key Tab ctrl+a
    xdotool type "$port"
    xdotool key Return
    sleep 2  # the connection dialog attempts at once and closes when accepted
    focus "Vrask 1.0"
  fi
  sleep 4  # the track loads (or renders, the first time), the game settles
  [ -n "${SHOTS:-}" ] && import -window root "$SHOTS/$(basename "$(dirname "$program")")-$case.png"
  local c0 w0 t0 c1 w1 t1
  c0=$(cpu_ns "$game") w0=$(wakeups "$game") t0=$(date +%s%N)
  sleep "$seconds"
  c1=$(cpu_ns "$game") w1=$(wakeups "$game") t1=$(date +%s%N)
  kill "$game" 2>/dev/null || true
  wait "$game" 2>/dev/null || true
  game=
  if [ -n "$server" ]; then
    kill "$server" 2>/dev/null || true
    wait "$server" 2>/dev/null || true
    server=
  fi
  rm -rf "$home"
  awk -v p="$program" -v c="$case" -v dc=$((c1 - c0)) -v dw=$((w1 - w0)) -v dt=$((t1 - t0)) \
      -v load="$(cut -d' ' -f1-3 /proc/loadavg)" \
      'BEGIN {printf "%-40s %-9s %6.2f %%  %6.1f wake/s  load %s\n", p, c, 100 * dc / dt, dw * 1e9 / dt, load}'
}

for ((r = 0; r < rounds; r++)); do
  for case in ${cases//,/ }; do
    for program in "${programs[@]}"; do run "$program" "$case"; done
  done
done
