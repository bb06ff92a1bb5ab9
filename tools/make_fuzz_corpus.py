#!/usr/bin/env python3
"""Writes the fuzzers' seed corpora under tests/fuzz/corpus/ from real
datagrams and files: run it again after changing an input format.
Usage, from the source tree: tools/make_fuzz_corpus.py"""
import os
import shutil

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
CORPUS = os.path.join(ROOT, "tests", "fuzz", "corpus")

JOIN = b"PMc10 - I wanna play!\r\n"
MAP_REQUEST = b"PMf - I need the map\r\n"
LEAVING = b"PMs - I am shutting down, ta ta..."
TIMEOUT = b"PMst - You have timed out\0".ljust(255, b"\0")


def key(k):
    return b"PMg" + k + b" - Key Signature"


def record(host, datagram, step=False, later=False, dropped=False, loop=False, other_port=False):
    """One datagram of the server fuzzer's input: control, length, bytes."""
    control = (host & 7) | (8 if other_port else 0) | (16 if step else 0) | (32 if later else 0)
    control |= (64 if dropped else 0) | (128 if loop else 0)
    return bytes([control, len(datagram)]) + datagram


def server_datagram():
    # Hosts 0 and 1 hold places from the start; 2..7 are strangers.
    yield "join_name_play_leave", b"".join([
        record(3, JOIN), record(3, b"PMnBot 3\0", step=True), record(3, key(b"r"), step=True),
        record(3, key(b"p")), record(3, key(b"a"), step=True), record(3, key(b"b"), step=True),
        record(3, b"PMthello there\0", loop=True), record(3, MAP_REQUEST), record(3, LEAVING, step=True)])
    yield "players_keys", b"".join(
        record(h, key(k), step=True) for k in (b"u", b"l", b"b", b"d", b"r", b"b", b"s") for h in (0, 1))
    yield "long_texts", b"".join([
        record(0, b"PMn" + b"N" * 40), record(1, b"PMt" + b"x" * 200, loop=True),
        record(1, b"PMt" + b"y" * 30 + b"\0")])
    yield "timeout_notice", record(1, TIMEOUT, loop=True) + record(1, JOIN, step=True)
    yield "denials", b"".join([
        record(0, JOIN), record(0, JOIN, other_port=True), record(4, b"PMc01 - I wanna play!\r\n"),
        record(5, b"PMc1"), record(6, JOIN, dropped=True)])
    yield "stranger_map_flood", b"".join(record(4, MAP_REQUEST, later=(n % 10 == 9)) for n in range(40))
    yield "full_server", b"".join(record(h, JOIN, step=True) for h in range(2, 8)) + record(7, JOIN, other_port=True)
    yield "steps", b"".join(record(0, b"", step=True) for _ in range(30))
    yield "others", b"".join(record(2, d) for d in (b"PMk", b"PMm" + bytes(215), b"PMo", b"PMd", b"PM", b"XY"))


def map_file():
    for name in sorted(os.listdir(os.path.join(ROOT, "data"))):
        if name.endswith(".map"):
            with open(os.path.join(ROOT, "data", name), "rb") as f:
                yield name, f.read()
    rows = [bytes(b"0123456789:0"[(r + c) % 12] for c in range(14)) for r in range(14)]
    yield "lf_only", b"\n".join(rows) + b"\nA map with line feeds only"
    yield "no_line_ends", b"".join(rows)
    yield "nul_separators", b"\0".join(rows) + b"\0" * 3 + b"x" * 70
    yield "space_inside", rows[0][:5] + b" " + b"".join(rows)


def ban_list():
    yield "empty", b""
    yield "one", bytes([192, 168, 1, 20]) + b","
    yield "three_and_tail", bytes([10, 0, 0, 1, 44, 10, 0, 5, 7, 44, 127, 0, 0, 2, 44, 9, 9])
    yield "zero_bytes", bytes([0, 0, 0, 0, 44, 10, 0, 0, 1, 44])
    yield "bad_separator", bytes([1, 2, 3, 4, 59, 1, 2, 3, 4, 44])


def picture():
    # The smaller of the game's own pictures.
    for name in ("bitmap120.bmp", "bitmap117.bmp", "cursor104.bmp", "icon102.bmp"):
        with open(os.path.join(ROOT, "resources", name), "rb") as f:
            yield name, f.read()


def main():
    for target, seeds in (("server_datagram", server_datagram), ("map_file", map_file),
                          ("ban_list", ban_list), ("picture", picture)):
        folder = os.path.join(CORPUS, target)
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        for name, data in seeds():
            with open(os.path.join(folder, name), "wb") as f:
                f.write(data)


if __name__ == "__main__":
    main()
