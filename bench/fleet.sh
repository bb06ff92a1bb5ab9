#!/usr/bin/env bash
# The capacity figure: SERVERS vrask-servers (default 4) on loopback ports,
# each with 8 vrask-bots, for SECONDS (default 60). Reports each server's
# own CPU over the measured middle of the run, from /proc/PID/schedstat
# (nanoseconds on the CPU; the tick-based /proc/PID/stat is too coarse at
# this level), per server and per player, its resident memory, and how
# many eight-player servers one core would hold.
# Usage: bench/fleet.sh [SERVERS] [SECONDS]
#   BUILD=folder     the build folder with the programs (default build/)
#   FLEET_METRICS=1  each server also serves --metrics on a TCP port of its
#                    own, scraped once a second (Prometheus scrapes far less)
#   FLEET_AGONES=1   each server also runs --agones against one small
#                    stand-in for the Agones sidecar (answers 200 to all)
# Exit status: 0 when every bot of every server played to the end.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
servers=${1:-4}
seconds=${2:-60}
build=${BUILD:-$root/build}
[[ $build = /* ]] || build=$root/$build
[[ "$servers" =~ ^[0-9]+$ ]] && [ "$servers" -ge 1 ] && [[ "$seconds" =~ ^[0-9]+$ ]] && [ "$seconds" -ge 10 ] ||
  { echo "usage: bench/fleet.sh [SERVERS >= 1] [SECONDS >= 10]" >&2; exit 2; }
for p in vrask-server vrask-bots; do
  [ -x "$build/$p" ] || { echo "fleet: $build/$p is not built" >&2; exit 2; }
done

work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

free_port() {  # $1: udp or tcp
  python3 -c "import socket,sys; s=socket.socket(socket.AF_INET, socket.SOCK_DGRAM if sys.argv[1]=='udp' else socket.SOCK_STREAM); s.bind(('127.0.0.1', 0)); print(s.getsockname()[1])" "$1"
}

if [ "${FLEET_AGONES:-0}" = 1 ]; then
  AGONES_SDK_HTTP_PORT=$(free_port tcp)
  export AGONES_SDK_HTTP_PORT
  python3 - "$AGONES_SDK_HTTP_PORT" <<'PY' >"$work/sidecar.out" 2>&1 &
import http.server, sys
class Sidecar(http.server.BaseHTTPRequestHandler):
    def answer(self):
        self.rfile.read(int(self.headers.get("Content-Length", 0)))
        self.send_response(200); self.send_header("Content-Length", "2"); self.end_headers(); self.wfile.write(b"{}")
    do_POST = do_PUT = answer
    def log_message(self, *a): pass
http.server.ThreadingHTTPServer(("127.0.0.1", int(sys.argv[1])), Sidecar).serve_forever()
PY
  pids+=($!)
fi

server_pids=()
bots_pids=()
metrics_ports=()
for i in $(seq "$servers"); do
  port=$(free_port udp)
  extra=()
  [ "${FLEET_AGONES:-0}" = 1 ] && extra+=(--agones)
  if [ "${FLEET_METRICS:-0}" = 1 ]; then
    mport=$(free_port tcp)
    metrics_ports+=("$mport")
    extra+=(--metrics "127.0.0.1:$mport")
  fi
  "$build/vrask-server" --dir "$work/game$i" --port "$port" --max-players 8 --seed "$i" "${extra[@]}" \
    >"$work/server$i.out" 2>&1 &
  server_pids+=($!)
  pids+=($!)
  for _ in $(seq 100); do grep -q '^=Server Started=$' "$work/server$i.out" && break; sleep 0.1; done
  grep -q '^=Server Started=$' "$work/server$i.out" || { echo "fleet: server $i did not start" >&2; cat "$work/server$i.out" >&2; exit 1; }
  "$build/vrask-bots" --server 127.0.0.1 --port "$port" --count 8 --seconds "$seconds" --seed "$i" \
    >"$work/bots$i.out" 2>&1 &
  bots_pids+=($!)
  pids+=($!)
done
if [ "${#metrics_ports[@]}" -gt 0 ]; then
  ( while sleep 1; do for m in "${metrics_ports[@]}"; do curl -s "http://127.0.0.1:$m/metrics" >/dev/null || true; done; done ) &
  pids+=($!)
fi

cpu_ns() { awk '{print $1}' "/proc/$1/schedstat"; }
rss_kb() { awk '/^VmRSS:/ {print $2}' "/proc/$1/status"; }
now_ns() { date +%s%N; }
busy() { awk '/^cpu / {print $2 + $3 + $4 + $7 + $8, $5 + $6}' /proc/stat; }

# Measure the middle of the run: everyone has joined, nobody has left.
sleep $((seconds / 4))
t1=$(now_ns); read -r b1 i1 < <(busy)
declare -a c1
for k in "${!server_pids[@]}"; do c1[$k]=$(cpu_ns "${server_pids[$k]}"); done
sleep $((seconds / 2))
t2=$(now_ns); read -r b2 i2 < <(busy)

total=0
printf '%-8s %12s %14s %12s %10s\n' server "cpu %core" "us/second" "us/s/player" "RSS MB"
for k in "${!server_pids[@]}"; do
  p=${server_pids[$k]}
  used=$(( $(cpu_ns "$p") - c1[$k] ))
  total=$((total + used))
  awk -v u="$used" -v t=$((t2 - t1)) -v r="$(rss_kb "$p")" -v n=$((k + 1)) 'BEGIN {
    printf "%-8d %12.3f %14.1f %12.1f %10.1f\n", n, 100 * u / t, 1e6 * u / t, 1e6 * u / t / 8, r / 1024 }'
done
awk -v u="$total" -v t=$((t2 - t1)) -v s="$servers" -v bb=$((b2 - b1)) -v ii=$((i2 - i1)) -v cores="$(nproc)" 'BEGIN {
  per = u / t / s
  printf "mean: %.3f %% of a core per eight-player server (%.1f us of CPU per second)\n", 100 * per, 1e6 * per
  if (per > 0) printf "capacity: about %d eight-player servers per core\n", int(1 / per)
  printf "machine: %.0f %% busy over %d cores while measuring\n", 100 * bb / (bb + ii), cores }'
status=0
for k in "${!bots_pids[@]}"; do
  wait "${bots_pids[$k]}" || status=1
  echo "server $((k + 1)): $(grep '^bots still playing:' "$work/bots$((k + 1)).out" || echo 'no summary line')"
done
exit "$status"
