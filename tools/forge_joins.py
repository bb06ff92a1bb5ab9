#!/usr/bin/env python3
"""Forges join requests to a local vrask-server and measures what the
forged address receives: the amplification factor (bytes received ÷ bytes
forged) and whether it was given a place.

The forged sender is a socket on a loopback address (127.0.0.50 by
default) that only listens and never answers, like the victim of a forged
source address. It sends one kind of join at a steady rate, then keeps
listening until the server's 400-step time-out has passed, so that every
update a place held for it draws is counted.

usage: tools/forge_joins.py BUILD_DIR [--require-token] [--kind plain|marked]
                            [--rate N] [--seconds N] [--max-players N]
       tools/forge_joins.py BUILD_DIR --with-client   (a real vrask-bots
           client joins a --max-players 1 server while the joins arrive)
"""
import argparse
import os
import shutil
import socket
import subprocess
import sys
import tempfile
import time

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
JOIN = b"PMc10 - I wanna play!\r\n"
MARKED = (JOIN + b"+token" + bytes(8)).ljust(40, b"\0")


def free_port():
    s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    s.bind(("127.0.0.1", 0))
    port = s.getsockname()[1]
    s.close()
    return port


def start_server(build, work, port, max_players, require):
    args = [os.path.join(build, "vrask-server"), "--dir", os.path.join(work, "game"), "--port", str(port),
            "--max-players", str(max_players), "--seed", "1"]
    if require:
        args.append("--require-token")
    out = open(os.path.join(work, "server.out"), "w")
    server = subprocess.Popen(args, stdout=out, stderr=subprocess.STDOUT)
    for _ in range(100):
        with open(os.path.join(work, "server.out")) as f:
            if "=Server Started=" in f.read():
                return server
        time.sleep(0.1)
    server.kill()
    sys.exit("the server did not start")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("build")
    ap.add_argument("--require-token", action="store_true")
    ap.add_argument("--kind", choices=("plain", "marked"), default="plain")
    ap.add_argument("--rate", type=float, default=4)
    ap.add_argument("--seconds", type=float, default=10)
    ap.add_argument("--listen", type=float, default=18, help="seconds to listen after the last join")
    ap.add_argument("--max-players", type=int, default=2)
    ap.add_argument("--source", default="127.0.0.50")
    ap.add_argument("--with-client", action="store_true")
    a = ap.parse_args()
    build = os.path.abspath(a.build)
    work = tempfile.mkdtemp()
    port = free_port()
    max_players = 1 if a.with_client else a.max_players
    server = start_server(build, work, port, max_players, a.require_token)
    forged = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    forged.bind((a.source, 0))
    forged.setblocking(False)
    datagram = JOIN if a.kind == "plain" else MARKED
    sent = received = 0
    kinds = {}
    bots = None
    if a.with_client:
        bots = subprocess.Popen([os.path.join(build, "vrask-bots"), "--server", "127.0.0.1", "--port", str(port),
                                 "--count", "1", "--seconds", str(int(a.seconds))],
                                stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)

    def drain():
        nonlocal received
        while True:
            try:
                d = forged.recv(4096)
            except BlockingIOError:
                return
            received += len(d)
            k = d[2:3].decode("latin-1") + (d[3:4].decode("latin-1") if d[2:3] == b"d" else "")
            kinds[k] = kinds.get(k, 0) + 1

    try:
        start = time.monotonic()
        n = 0
        while time.monotonic() - start < a.seconds:
            due = start + n / a.rate
            if time.monotonic() >= due:
                forged.sendto(datagram, ("127.0.0.1", port))
                sent += len(datagram)
                n += 1
            drain()
            time.sleep(0.005)
        end = time.monotonic() + a.listen
        while time.monotonic() < end:
            drain()
            time.sleep(0.02)
        if bots:
            out, _ = bots.communicate(timeout=60)
    finally:
        server.terminate()
        server.wait()
    with open(os.path.join(work, "server.out")) as f:
        joins = f.read().count("Player Has Joined =)")
    shutil.rmtree(work)
    mode = "--require-token" if a.require_token else "no option"
    print(f"server {build}/vrask-server ({mode}), {a.kind} joins from {a.source}: {n} sent, {sent} bytes")
    print(f"received {received} bytes, amplification {received / max(sent, 1):.2f}; by type: {kinds}")
    print(f"places given (joins announced by the server): {joins}")
    if bots:
        print("vrask-bots:", " | ".join(l for l in out.splitlines() if l.strip()))


if __name__ == "__main__":
    main()
