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
# The marked join of the token handshake; the fuzzer puts the sender's
# valid cookie in place of eight 0xFF bytes.
def marked_join(cookie=bytes(8)):
    return (JOIN + b"+token" + cookie).ljust(40, b"\0")
VALID_COOKIE = b"\xff" * 8
CHALLENGE = b"PMh" + bytes(range(1, 9))
REQUIRE_TOKEN = b"\xff"  # first byte of an input: the server requires tokens


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
    tokens = [
        record(3, marked_join()), record(3, marked_join(VALID_COOKIE)), record(3, marked_join(VALID_COOKIE)),
        record(4, marked_join(VALID_COOKIE), other_port=True), record(5, marked_join(b"\x01" * 8)),
        record(6, JOIN), record(6, MAP_REQUEST), record(7, CHALLENGE), record(7, marked_join()[:30]),
        record(3, MAP_REQUEST, step=True), record(0, marked_join(VALID_COOKIE), later=True)]
    yield "token_handshake", b"".join(tokens)
    yield "token_required", REQUIRE_TOKEN + b"".join(tokens)
    yield "others", b"".join(record(2, d) for d in (b"PMk", b"PMm" + bytes(215), b"PMo", b"PMd", b"PM", b"XY"))


def coord(v):
    return (b"l" + bytes([(v + 1) & 0xFF])) if v < 255 else (b"m" + bytes([(v - 255) & 0xFF]))


def value(v):
    return bytes([(v + 1) & 0xFF])


def update(seq, own=0, active=4, dead=None, fire=None):
    """A whole 218-byte update: eight player records, eight fireball records
    (the last cut short by the sequence byte) and the sequence number."""
    out = b"PMm"
    for i in range(8):
        tag = b"y" if i == own else (b"c" if i % 2 else b"p")
        life = 2 if i == dead else 1
        out += bytes([i + 1]) + tag + coord(40 + 40 * i) + coord(300 + i) + b"ss"
        out += value(life) + (b"1" if i < active else b"0") + value(30 + i) + value(i) + value(i % 2)
        out += (b"Bot %d" % (i + 1)).ljust(8, b"\0")
    for i in range(8):
        state = b"f" if i == fire else b"n"
        rec = state + coord(200 + i) + coord(640) + b"r"
        out += rec[:6]
    return out[:217] + bytes([seq])


def client_record(datagram, step=True, stranger=False, later=False, no_prediction=False,
                  rejoin=False, copies=0):
    """One datagram of the client fuzzer's input: control, length, bytes."""
    control = (1 if step else 0) | (2 if stranger else 0) | (4 if later else 0)
    control |= (8 if no_prediction else 0) | (16 if rejoin else 0) | (copies << 6)
    return bytes([control, min(len(datagram), 255)]) + datagram[:255]


def client_datagram():
    game_map = b"PMf" + bytes(1 + (1 if r in (0, 13) or c in (0, 13) else 0)
                              for r in range(14) for c in range(14))
    board = b"PMt" + b"".join((bytes([255, 200, 0]) + b"Bot 1: hello").ljust(30, b"\0") for _ in range(8))
    board = board.ljust(255, b"\0")
    assert len(update(1)) == 218 and len(game_map) == 199 and len(board) == 255
    yield "updates", b"".join(client_record(update(n, own=n % 8)) for n in range(1, 12))
    yield "queued_updates", b"".join(client_record(update(n), copies=3) for n in range(1, 6))
    yield "dead_and_fireball", b"".join(client_record(update(n, dead=0, fire=1)) for n in range(1, 4))
    yield "map_and_board", client_record(update(1)) + client_record(game_map) + client_record(board)
    yield "map_notice", client_record(update(1)) + client_record(b"PMf") + client_record(game_map, step=False)
    yield "kick_and_rejoin", client_record(update(1)) + client_record(b"PMk") + client_record(update(2), rejoin=True)
    yield "shutdown", client_record(update(1)) + client_record(LEAVING) + client_record(TIMEOUT, rejoin=True)
    yield "stranger", client_record(update(1), stranger=True) + client_record(b"PMk", stranger=True)
    yield "silence", client_record(update(1)) + b"".join(client_record(b"", later=True) for _ in range(40))
    yield "stale_and_short", b"".join([client_record(update(9)), client_record(update(3)),
                                       client_record(update(10)[:100]), client_record(b"PM"),
                                       client_record(b"PMz", no_prediction=True)])


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
    for target, seeds in (("server_datagram", server_datagram), ("client_datagram", client_datagram),
                          ("map_file", map_file),
                          ("ban_list", ban_list), ("picture", picture)):
        folder = os.path.join(CORPUS, target)
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        for name, data in seeds():
            with open(os.path.join(folder, name), "wb") as f:
                f.write(data)


if __name__ == "__main__":
    main()
