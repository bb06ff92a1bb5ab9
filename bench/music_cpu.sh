#!/usr/bin/env bash
# What each music track costs the processor while it plays: the game's own
# audio (tools/audio_probe) playing it on SDL's disk driver in real time,
# minus the same audio playing nothing. Several probes can be given (say, of
# two builds); the runs then take turns, track by track. A probe that knows
# "render" first renders every track into a music cache of its own, so that
# the runs measure a track played from its render.
#   bench/music_cpu.sh [-s SECONDS] AUDIO_PROBE...
# Prints one line per probe and track: the idle cost, the cost while the
# track plays, the difference (what the music adds), and the load average.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=20
while getopts s: o; do
  case $o in
    s) seconds=$OPTARG ;;
    *) echo "usage: bench/music_cpu.sh [-s SECONDS] AUDIO_PROBE..." >&2; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
[ $# -ge 1 ] || { echo "usage: bench/music_cpu.sh [-s SECONDS] AUDIO_PROBE..." >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null

probes=()
for p in "$@"; do probes+=("$(realpath "$p")"); done
# CACHE_ROOT=folder keeps the music caches there, to use them again.
cache_of() { echo "${CACHE_ROOT:-$work}/cache-$(basename "$(dirname "$1")")"; }
# "% of one core" from a probe's report line.
percent() { sed -n 's/.*(\([0-9.]*\) % of one core).*/\1/p'; }

for probe in "${probes[@]}"; do
  [[ $("$probe" 2>&1 || true) == *render* ]] || continue  # an older probe cannot render
  for track in "$root"/data/vrask*.mid; do
    XDG_CACHE_HOME=$(cache_of "$probe") "$probe" render "$track" >/dev/null 2>&1 || true
  done
done

for track in "$root"/data/vrask*.mid; do
  for probe in "${probes[@]}"; do
    export XDG_CACHE_HOME
    XDG_CACHE_HOME=$(cache_of "$probe")
    idle=$("$probe" idle "$seconds" | percent)
    music=$("$probe" music "$track" "$seconds" | percent)
    awk -v p="$probe" -v t="$(basename "$track")" -v i="$idle" -v m="$music" \
        -v load="$(cut -d' ' -f1-3 /proc/loadavg)" \
        'BEGIN {printf "%-32s %-12s idle %5.2f %%  playing %5.2f %%  music adds %5.2f %%  load %s\n", p, t, i, m, m - i, load}'
  done
done
