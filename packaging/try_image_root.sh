#!/usr/bin/env bash
# Tries what the container image holds without a container runtime: builds a
# Debian 12 root file system with mmdebstrap, installs the .deb into it the
# way packaging/Containerfile does, and starts the image's command as the
# user vrask inside it, in a network namespace of its own (nothing it sends
# can leave), next to a stand-in for the Agones SDK sidecar (answers 200 to
# everything and logs what it got). Three bots from BUILD play for 6 s, then
# SIGTERM ends the server. Needs root, mmdebstrap and python3.
# Usage: packaging/try_image_root.sh [DEB]   (default build-deb/vrask_*_amd64.deb)
#   BUILD=folder  where vrask-bots is built (default build/)
# Exit status: 0 when the bots played and the sidecar saw ready, health, the
# players label and shutdown.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
deb=${1:-$(ls "$root"/build-deb/vrask_*_amd64.deb 2>/dev/null | head -1)}
bots=${BUILD:-$root/build}/vrask-bots
[ -f "$deb" ] || { echo "try_image_root: no .deb; run scripts/package.sh first" >&2; exit 2; }
[ -x "$bots" ] || { echo "try_image_root: $bots is not built" >&2; exit 2; }
[ "$(id -u)" = 0 ] || { echo "try_image_root: needs root (chroot, namespaces)" >&2; exit 2; }

work=$(mktemp -d)
trap 'umount "$work/root/proc" 2>/dev/null || true; rm -rf "$work"' EXIT
mmdebstrap --quiet --variant=apt bookworm "$work/root"
cp "$deb" "$work/root/tmp/"
# The same steps as the image's RUN line, with the mirror that built the root.
chroot "$work/root" sh -c 'apt-get update -qq && apt-get install -qq -y --no-install-recommends /tmp/vrask_*_amd64.deb > /dev/null \
  && rm -rf /var/lib/apt/lists/* /tmp/vrask_*_amd64.deb \
  && useradd --system --home-dir /var/lib/vrask --create-home --uid 2727 vrask 2> /dev/null'
# A container runtime writes these; without them "localhost" would not resolve.
printf '127.0.0.1\tlocalhost\n::1\tlocalhost\n' > "$work/root/etc/hosts"
rm -f "$work/root/etc/resolv.conf"
echo "root file system with the package: $(du -sh "$work/root" | cut -f1)"

cat > "$work/sidecar.py" <<'EOF'
# Stands in for the Agones SDK sidecar: 200 to every request, one log line each.
import http.server
class Sidecar(http.server.BaseHTTPRequestHandler):
    def answer(self):
        body = self.rfile.read(int(self.headers.get('Content-Length') or 0)).decode()
        print(self.command, self.path, body, flush=True)
        self.send_response(200); self.send_header('Content-Length', '2'); self.end_headers()
        self.wfile.write(b'{}')
    do_POST = do_PUT = do_GET = answer
    def log_message(self, *args): pass
http.server.HTTPServer(('127.0.0.1', 9358), Sidecar).serve_forever()
EOF

# The image's entry point, run inside the root as the image's user.
entry=$(sed -n 's/^ENTRYPOINT \[\(.*\)\]$/\1/p' "$root/packaging/Containerfile" | tr -d '",')
unshare --net --mount --pid --fork --mount-proc bash -c '
  set -u; work=$1; bots=$2; shift 2
  ip link set lo up
  python3 "$work/sidecar.py" > "$work/sidecar.log" 2>&1 &
  mount -t proc proc "$work/root/proc"
  chroot --userspec=vrask:vrask "$work/root" env HOME=/var/lib/vrask "$@" > "$work/server.log" 2>&1 &
  server=$!
  sleep 3
  "$bots" --server 127.0.0.1 --port 2727 --count 3 --seconds 6 > "$work/bots.log" 2>&1; echo $? > "$work/bots.rc"
  ps -o user=,args= -C vrask-server
  kill -TERM "$server"; wait "$server"
' try "$work" "$bots" $entry
echo "--- server"; cat "$work/server.log"
echo "--- bots"; tail -1 "$work/bots.log"
echo "--- sidecar"; sed 's/ {.*"value": "\([0-9]*\)"}/ players=\1/; s/ {}$//' "$work/sidecar.log" | uniq -c
ok=0
[ "$(cat "$work/bots.rc")" = 0 ] || { echo "the bots did not play to the end"; ok=1; }
for want in "POST /ready" "POST /health" "PUT /metadata/label" "POST /shutdown"; do
  grep -q "^$want" "$work/sidecar.log" || { echo "the sidecar never got $want"; ok=1; }
done
exit $ok
