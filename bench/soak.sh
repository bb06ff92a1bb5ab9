#!/usr/bin/env bash
# The soak: vrask-server --require-token with 8 places and 8 vrask-bots on a bad link (20 %
# loss, 5 % duplication, 5 % reordering, 30 ms delay) for SECONDS (default
# 600), all over loopback. Prints the bots still playing at the end, the
# server's CPU and its resident memory early on and at the end.
# Goals: 8 of 8 playing, none ever gave the server up; server CPU under 1 %
# of one core; memory growth under 10 %.
# Usage: bench/soak.sh [SECONDS]
#   BUILD=folder   the build folder with the programs (default build/)
#   SOAK_PERFECT=1 no faults on the link (the server's CPU with clean clients)
# Exit status: 0 when every bot played from its join to the end and memory
# stayed within the goal, 1 otherwise.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-600}
build=${BUILD:-$root/build}
[[ $build = /* ]] || build=$root/$build
[[ "$seconds" =~ ^[0-9]+$ ]] && [ "$seconds" -ge 10 ] || { echo "usage: bench/soak.sh [SECONDS >= 10]" >&2; exit 2; }
for p in vrask-server vrask-bots; do
  [ -x "$build/$p" ] || { echo "soak: $build/$p is not built" >&2; exit 2; }
done

work=$(mktemp -d)
server_pid=
bots_pid=
cleanup() {
  [ -n "$bots_pid" ] && kill "$bots_pid" 2>/dev/null || true
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

port=$(python3 -c 'import socket; s=socket.socket(socket.AF_INET, socket.SOCK_DGRAM); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
"$build/vrask-server" --dir "$work/game" --port "$port" --max-players 8 --seed 1 --require-token >"$work/server.out" 2>&1 &
server_pid=$!
for _ in $(seq 100); do grep -q '^=Server Started=$' "$work/server.out" && break; sleep 0.1; done
grep -q '^=Server Started=$' "$work/server.out" || { echo "soak: the server did not start" >&2; cat "$work/server.out" >&2; exit 1; }

faults=(--loss 20 --duplicate 5 --reorder 5 --delay 30)
[ "${SOAK_PERFECT:-0}" = 1 ] && faults=()
"$build/vrask-bots" --server 127.0.0.1 --port "$port" --count 8 --seconds "$seconds" --seed 1 \
  "${faults[@]}" >"$work/bots.out" 2>&1 &
bots_pid=$!

hz=$(getconf CLK_TCK)
cpu_ticks() { awk '{print $14 + $15}' "/proc/$server_pid/stat"; }
rss_kb() { awk '/^VmRSS:/ {print $2}' "/proc/$server_pid/status"; }
now_ms() { date +%s%3N; }

# The first sample once everyone has joined and the game runs (after a
# minute, or half way on a short soak); the last just before the bots leave.
first=60
[ "$seconds" -lt 120 ] && first=$((seconds / 2))
sleep "$first"
t1=$(now_ms); c1=$(cpu_ticks); r1=$(rss_kb)
sleep $((seconds - first - 2))
t2=$(now_ms); c2=$(cpu_ticks); r2=$(rss_kb)

status=0
wait "$bots_pid" || status=$?
bots_pid=
kill -TERM "$server_pid"
wait "$server_pid" || true
server_pid=

summary=$(grep '^bots still playing:' "$work/bots.out" || echo "bots still playing: (no summary line)")
gave_up=$(grep -c 'gave the server up' "$work/bots.out" || true)
cpu=$(awk -v c="$((c2 - c1))" -v hz="$hz" -v ms="$((t2 - t1))" 'BEGIN {printf "%.2f", 100 * c / hz / (ms / 1000)}')
growth=$(awk -v a="$r1" -v b="$r2" 'BEGIN {printf "%.1f", 100 * (b - a) / a}')
echo "soak: ${seconds} s, 8 bots, link: ${faults[*]:-perfect}"
echo "$summary"
echo "bots that gave the server up: $gave_up; bots exit status: $status"
echo "server CPU from ${first} s to the end: ${cpu} % of one core"
echo "server RSS after ${first} s: ${r1} kB, at the end: ${r2} kB (growth ${growth} %)"
grep -v '^bots still playing:' "$work/bots.out" | grep -v ': joined$\|: left$' | head -20 || true
awk -v g="$growth" 'BEGIN {exit !(g < 10)}' || { echo "soak: memory grew by more than 10 %"; status=1; }
[ "$status" -eq 0 ] && [ "$gave_up" -eq 0 ] && exit 0
exit 1
