#!/usr/bin/env python3
"""Measures a running vrask-server with eight players: seven computer
players and one remote client scripted here over loopback UDP.

Starts the server in a temporary directory (with data/pakmap.map), joins
from 127.0.0.2, sends its name and a direction or fire key every 200 ms,
and for the given number of seconds records

  * the server's processor time from /proc/PID/stat (utime + stime), and
  * the arrival time of every state update. The client is served at every
    second step, so the interval between two updates spans two steps.

With --strace the server's sleep calls are traced as well: the loop sleeps
once between two steps, so the interval between two sleeps is the interval
between two steps. Tracing costs processor time, so use a separate run for
the CPU figure.

usage: tools/measure_server.py BUILD_DIR [--seconds N] [--strace]
"""
import argparse
import os
import random
import shutil
import signal
import socket
import statistics
import subprocess
import sys
import tempfile
import time


def percentile(values, p):
    s = sorted(values)
    k = min(len(s) - 1, max(0, int(round(p / 100.0 * (len(s) - 1)))))
    return s[k]


def cpu_ticks(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])  # utime, stime


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("build_dir")
    ap.add_argument("--seconds", type=float, default=30.0)
    ap.add_argument("--strace", action="store_true")
    args = ap.parse_args()

    repo = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    binary = os.path.join(os.path.abspath(args.build_dir), "vrask-server")
    work = tempfile.mkdtemp(prefix="vrask-measure-")
    shutil.copy(os.path.join(repo, "data", "pakmap.map"), work)

    probe = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    probe.bind(("127.0.0.1", 0))
    port = probe.getsockname()[1]
    probe.close()

    server = subprocess.Popen([binary, "--port", str(port), "--seed", "11"], cwd=work,
                              stdout=subprocess.PIPE, text=True)
    try:
        first = server.stdout.readline().strip()
        if first != f"Server, port {port}":
            sys.exit(f"unexpected first line: {first!r}")
        trace = None
        trace_file = os.path.join(work, "trace.txt")
        if args.strace:
            trace = subprocess.Popen(["strace", "-ttt", "-e", "trace=clock_nanosleep,nanosleep",
                                      "-o", trace_file, "-p", str(server.pid)],
                                     stderr=subprocess.DEVNULL)
            time.sleep(0.5)

        c = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        c.bind(("127.0.0.2", 0))
        c.settimeout(0.05)
        dest = ("127.0.0.1", port)
        c.sendto(b"PMc10 - I wanna play!\r\n", dest)
        c.sendto(b"PMnMeasure\0", dest)

        ticks0 = cpu_ticks(server.pid)
        start = time.monotonic()
        next_key = start
        arrivals, seqs, other = [], [], 0
        rng = random.Random(3)
        while time.monotonic() - start < args.seconds:
            now = time.monotonic()
            if now >= next_key:
                key = rng.choice(b"udlrb")
                c.sendto(b"PMg" + bytes([key]) + b" - Key Signature", dest)
                next_key = now + 0.2
            try:
                data = c.recv(512)
            except socket.timeout:
                continue
            if len(data) == 218 and data[:3] == b"PMm":
                arrivals.append(time.monotonic())
                seqs.append(data[217])
            else:
                other += 1
        elapsed = time.monotonic() - start
        ticks1 = cpu_ticks(server.pid)
        c.sendto(b"PMs - I am shutting down, ta ta...", dest)
        if trace:
            trace.send_signal(signal.SIGINT)
            trace.wait(timeout=5)

        hz = os.sysconf("SC_CLK_TCK")
        cpu_s = (ticks1 - ticks0) / hz
        print(f"run: {elapsed:.1f} s, 7 computer players + 1 remote client")
        print(f"server CPU: {cpu_s:.2f} s of {elapsed:.1f} s = {100 * cpu_s / elapsed:.2f} %")
        gaps = [(b - a) * 1000 for a, b in zip(arrivals, arrivals[1:])]
        if gaps:
            print(f"updates received: {len(arrivals)} (other datagrams {other}); "
                  f"interval between updates (2 steps): median {statistics.median(gaps):.1f} ms, "
                  f"p99 {percentile(gaps, 99):.1f} ms, max {max(gaps):.1f} ms")
        if trace and os.path.exists(trace_file):
            stamps = []
            with open(trace_file) as f:
                for line in f:
                    parts = line.split()
                    if len(parts) > 1 and "sleep" in parts[1]:
                        stamps.append(float(parts[0]))
            steps = [(b - a) * 1000 for a, b in zip(stamps, stamps[1:])]
            if steps:
                print(f"steps traced: {len(steps) + 1}; interval between steps: "
                      f"median {statistics.median(steps):.1f} ms, p99 {percentile(steps, 99):.1f} ms, "
                      f"max {max(steps):.1f} ms")
    finally:
        server.send_signal(signal.SIGTERM)
        try:
            server.wait(timeout=5)
        except subprocess.TimeoutExpired:
            server.kill()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
