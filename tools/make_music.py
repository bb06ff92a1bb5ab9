#!/usr/bin/env python3
"""Composes the game's twelve background tracks as standard MIDI files.

Usage: tools/make_music.py [output folder] [--list]   (default: data/)

Each track is a General MIDI piece with a melody, a harmony part, a bass
line and drums, built from one song description below (key, mode, tempo,
instruments, grooves, chord progressions) and a seeded random generator, so
the files come out the same on every run. The form is
intro, verse, chorus, verse, chorus, bridge, chorus, outro; the outro ends
on the tonic so the next track (or the same one) follows naturally.
--list prints one line per track (for docs/sounds/).
"""

import os
import random
import struct
import sys

PPQ = 480
NAMES = ["C", "C#", "D", "Eb", "E", "F", "F#", "G", "Ab", "A", "Bb", "B"]
MODES = {
    "major": [0, 2, 4, 5, 7, 9, 11],
    "minor": [0, 2, 3, 5, 7, 8, 10],
    "dorian": [0, 2, 3, 5, 7, 9, 10],
    "mixolydian": [0, 2, 4, 5, 7, 9, 10],
}
GM = {0: "piano", 4: "electric piano", 11: "vibraphone", 12: "marimba", 16: "drawbar organ",
      24: "nylon guitar", 29: "overdriven guitar", 30: "distortion guitar", 32: "acoustic bass",
      33: "finger bass", 34: "picked bass", 35: "fretless bass", 38: "synth bass",
      39: "synth bass 2", 48: "strings", 56: "trumpet", 61: "brass section", 62: "synth brass",
      65: "alto sax", 73: "flute", 80: "square lead", 81: "saw lead", 8: "celesta",
      89: "warm pad", 90: "polysynth", 91: "choir pad", 95: "sweep pad", 108: "kalimba",
      114: "steel drums", 22: "harmonica", 71: "clarinet"}

# Chord progressions as scale degrees (0 = tonic), one chord per bar.
SONGS = [
    # title, tonic (0=C), mode, bpm, beats/bar, lead, harmony, harmony style, bass,
    # bass style, groove, verse, chorus, bridge
    ("Brick Maze", 9, "minor", 132, 4, 80, 90, "arp", 38, "pump", "dance",
     [0, 5, 2, 6], [5, 6, 0, 0], [3, 4, 5, 4]),
    ("Shield Wall", 4, "dorian", 112, 4, 29, 48, "pad", 33, "rootfifth", "rock",
     [0, 3, 0, 3], [6, 3, 0, 4], [2, 3, 6, 4]),
    ("Fireball Waltz", 5, "major", 150, 3, 73, 24, "waltz", 32, "waltz", "waltz",
     [0, 4, 5, 3], [3, 4, 0, 0], [5, 2, 3, 4]),
    ("Track Shuffle", 7, "mixolydian", 116, 4, 22, 16, "stabs", 33, "walking", "shuffle",
     [0, 0, 3, 0], [4, 3, 0, 6], [3, 3, 0, 4]),
    ("Night Server", 2, "minor", 96, 4, 11, 89, "pad", 35, "rootfifth", "halftime",
     [0, 5, 3, 4], [5, 3, 0, 6], [3, 5, 6, 4]),
    ("Frag Parade", 10, "major", 140, 4, 56, 61, "stabs", 34, "pump", "rock",
     [0, 3, 4, 0], [3, 0, 4, 5], [5, 3, 1, 4]),
    ("Latency", 0, "minor", 124, 4, 81, 95, "arp", 39, "octave", "dance",
     [0, 6, 5, 6], [5, 3, 6, 0], [3, 4, 5, 6]),
    ("Kalimba Garden", 3, "major", 104, 4, 108, 12, "arp", 32, "rootfifth", "latin",
     [0, 3, 0, 4], [3, 4, 5, 0], [1, 4, 0, 5]),
    ("Respawn", 11, "minor", 146, 4, 30, 29, "power", 34, "pump", "rock",
     [0, 5, 6, 0], [5, 6, 0, 4], [3, 5, 6, 6]),
    ("Steel Harbour", 8, "major", 108, 4, 114, 24, "strum", 33, "rootfifth", "latin",
     [0, 4, 5, 3], [3, 0, 4, 0], [5, 3, 1, 4]),
    ("Cold Circuit", 6, "minor", 100, 4, 8, 91, "pad", 38, "octave", "halftime",
     [0, 5, 0, 6], [5, 6, 2, 4], [3, 6, 5, 4]),
    ("Last Frag", 1, "major", 136, 4, 65, 4, "stabs", 33, "walking", "shuffle",
     [0, 5, 1, 4], [3, 4, 2, 5], [1, 4, 0, 5]),
]

FORM = [("intro", 4), ("verse", 8), ("chorus", 8), ("verse", 8), ("chorus", 8),
        ("bridge", 8), ("chorus", 8), ("outro", 4)]

KICK, SNARE, CLAP, STICK, HAT, PEDAL, OPEN, CRASH, RIDE = 36, 38, 39, 37, 42, 44, 46, 49, 51
TOM_L, TOM_M, TOM_H, CONGA_H, CONGA_L, CLAVES, SHAKER, TAMB = 45, 47, 50, 62, 64, 75, 70, 54

# Drum grooves on a grid of 16 steps per 4/4 bar (12 per 3/4 bar):
# instrument -> (steps, velocity).
GROOVES = {
    "rock": {KICK: ([0, 8, 10], 100), SNARE: ([4, 12], 96), HAT: (list(range(0, 16, 2)), 70)},
    "dance": {KICK: ([0, 4, 8, 12], 104), CLAP: ([4, 12], 88), OPEN: ([2, 6, 10, 14], 62),
              HAT: (list(range(1, 16, 2)), 44)},
    "halftime": {KICK: ([0, 6, 10], 96), SNARE: ([8], 92), HAT: (list(range(0, 16, 2)), 58),
                 RIDE: ([0, 4, 8, 12], 50)},
    "latin": {KICK: ([0, 6, 8, 14], 88), CLAVES: ([0, 3, 6, 10, 12], 72),
              CONGA_H: ([2, 7, 10, 15], 70), CONGA_L: ([4, 12], 76), SHAKER: (list(range(16)), 40)},
    # Triplet grid: 12 steps per 4/4 bar, the swung eighths on 0 and 2 of each beat.
    "shuffle": {KICK: ([0, 6], 96), SNARE: ([3, 9], 90), RIDE: ([0, 2, 3, 5, 6, 8, 9, 11], 66),
                PEDAL: ([3, 9], 50)},
    "waltz": {KICK: ([0], 92), STICK: ([4, 8], 70), HAT: (list(range(0, 12, 2)), 54),
              TAMB: ([4, 8], 40)},
}


class Track:
    def __init__(self, channel):
        self.channel = channel
        self.events = []  # (tick, order, bytes)

    def note(self, tick, length, pitch, velocity):
        pitch = max(0, min(127, pitch))
        velocity = max(1, min(127, velocity))
        self.events.append((tick, 1, bytes([0x90 | self.channel, pitch, velocity])))
        self.events.append((tick + max(1, length), 0, bytes([0x80 | self.channel, pitch, 0])))

    def control(self, tick, data):
        self.events.append((tick, -1, bytes([data[0] | self.channel]) + bytes(data[1:])))

    def meta(self, tick, kind, data):
        self.events.append((tick, -1, bytes([0xFF, kind]) + vlq(len(data)) + data))

    def chunk(self, end_tick):
        out, now = bytearray(), 0
        for tick, _, data in sorted(self.events, key=lambda e: (e[0], e[1])):
            out += vlq(tick - now) + data
            now = tick
        out += vlq(max(0, end_tick - now)) + b"\xff\x2f\x00"  # end of track
        return b"MTrk" + struct.pack(">I", len(out)) + bytes(out)


def vlq(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.append(0x80 | (value & 0x7F))
        value >>= 7
    return bytes(reversed(out))


class Song:
    def __init__(self, index, recipe):
        (self.title, self.tonic, self.mode, self.bpm, self.beats, self.lead, self.harmony,
         self.harmony_style, self.bass, self.bass_style, self.groove, *progs) = recipe
        self.verse, self.chorus, self.bridge = progs
        self.scale = MODES[self.mode]
        self.rng = random.Random(7919 * (index + 1))
        self.bar = PPQ * self.beats
        self.swing = self.groove == "shuffle"
        self.base = 60 + self.tonic - (12 if self.tonic > 6 else 0)  # the tonic near middle C

    # Pitches are scale degrees counted from the tonic; 7 is the octave.
    def pitch(self, degree, octave=0):
        return self.base + 12 * (degree // 7 + octave) + self.scale[degree % 7]

    def chord_degrees(self, root):
        return [root, root + 2, root + 4]

    def at(self, bar, eighth):
        """Tick of an eighth-note position in a bar, swung in a shuffle."""
        tick = bar * self.bar + eighth * PPQ // 2
        if self.swing and eighth % 2:
            tick += PPQ // 6
        return tick

    def seconds(self, bars):
        return bars * self.beats * 60.0 / self.bpm

    def progression(self, section):
        return {"intro": self.verse, "verse": self.verse, "chorus": self.chorus,
                "bridge": self.bridge, "outro": [0]}[section]


def rhythms(rng, beats, dense):
    """A bar's melody rhythm as note lengths in eighths (0-length entries are rests)."""
    pool4 = [[2, 2, 2, 2], [3, 1, 2, 2], [2, 1, 1, 2, 2], [1, 1, 2, 1, 1, 2], [4, 2, 2],
             [3, 3, 2], [2, 2, 4], [1, 1, 1, 1, 2, 2], [2, 3, 3]]
    pool3 = [[2, 2, 2], [3, 1, 2], [4, 2], [2, 1, 1, 2], [1, 1, 2, 2]]
    pool = pool4 if beats == 4 else pool3
    if dense:
        pool = [p for p in pool if len(p) >= 4] or pool
    return list(rng.choice(pool))


def compose_melody(song, track, start_bar, prog, bars, section, rng):
    """Two-bar motif, repeated and moved with the chords, closing on a cadence."""
    dense = section == "chorus"
    lift = 2 if section == "chorus" else 0
    motif = [rhythms(rng, song.beats, dense), rhythms(rng, song.beats, dense)]
    moves = [rng.choice([-2, -1, -1, 1, 1, 2, 0, 3, -3]) for _ in range(16)]
    current = 5 + lift
    velocity = 92 if dense else 84
    for b in range(bars):
        chord = prog[b % len(prog)]
        tones = song.chord_degrees(chord)
        last_bar = b == bars - 1
        pattern = motif[b % 2]
        if last_bar:
            pattern = [song.beats * 2] if section == "chorus" else [2, song.beats * 2 - 2]
        eighth, k = 0, 0
        for length in pattern:
            strong = eighth % 4 == 0
            if last_bar and length >= 4:
                # Cadence: the tonic after a chorus, a chord tone otherwise.
                target = [7, 9, 4] if section == "chorus" else [t + 7 * o for t in tones for o in (0, 1)]
                current = min(target, key=lambda d: abs(d - current))
            elif strong:
                candidates = [t + 7 * o for t in tones for o in (0, 1, 2)]
                current = min(candidates, key=lambda d: (abs(d - (current + moves[k % 16])), d))
            else:
                current += moves[k % 16] if moves[k % 16] else rng.choice([-1, 1])
            current = max(2 + lift, min(12 + lift, current))
            rest = not strong and not last_bar and rng.random() < 0.12
            if not rest:
                tick = song.at(start_bar + b, eighth)
                end = song.at(start_bar + b, eighth + length) if eighth + length < song.beats * 2 \
                    else (start_bar + b + 1) * song.bar
                accent = 10 if strong else 0
                track.note(tick, int((end - tick) * 0.92), song.pitch(current),
                           velocity + accent + rng.randint(-6, 6))
            eighth += length
            k += 1


def voicing(song, root, previous):
    """Three chord tones in the octave below the melody, close to the last chord."""
    best = None
    for inversion in range(3):
        degrees = song.chord_degrees(root)
        notes = sorted(song.pitch(d) - 12 + (12 if i < inversion else 0)
                       for i, d in enumerate(degrees))
        while notes[0] < 50:
            notes = [n + 12 for n in notes]
        while notes[-1] > 72:
            notes = [n - 12 for n in notes]
        cost = sum(abs(a - b) for a, b in zip(notes, previous)) if previous else 0
        if best is None or cost < best[0]:
            best = (cost, notes)
    return best[1]


def compose_harmony(song, track, start_bar, prog, bars, section, state, rng):
    style = song.harmony_style
    soft = section in ("intro", "outro", "bridge")
    vel = 58 if soft else 70
    for b in range(bars):
        bar = start_bar + b
        notes = voicing(song, prog[b % len(prog)], state.get("voicing"))
        state["voicing"] = notes
        t0 = bar * song.bar
        if style == "pad" or (soft and style != "arp"):
            for n in notes:
                track.note(t0, song.bar - 10, n, vel - 6)
        elif style == "arp":
            order = notes + [notes[0] + 12, notes[2], notes[1]] if song.beats == 4 else notes * 2
            steps = song.beats * 2
            for i in range(steps):
                track.note(song.at(bar, i), PPQ // 2 - 20, order[i % len(order)],
                           vel - (8 if i % 2 else 0) + rng.randint(-4, 4))
        elif style == "stabs":
            for e in ([1, 3, 5, 7] if bar % 2 == 0 else [1, 3, 4, 7]):
                for n in notes:
                    track.note(song.at(bar, e), PPQ // 3, n, vel + rng.randint(-4, 4))
        elif style == "power":
            root = notes[0] - 12
            for e in range(0, 8, 2):
                for n in (root, root + 7, root + 12):
                    track.note(song.at(bar, e), PPQ - 40, n, vel + (8 if e == 0 else 0))
        elif style == "strum":
            for e, down in ((0, True), (3, False), (4, True), (6, False)):
                order = notes if down else list(reversed(notes))
                for i, n in enumerate(order):
                    track.note(song.at(bar, e) + i * 18, PPQ - 30, n, vel - (0 if down else 10))
        elif style == "waltz":
            for beat in (1, 2):
                for n in notes:
                    track.note(t0 + beat * PPQ, PPQ - 40, n, vel - 4 + rng.randint(-4, 4))


def compose_bass(song, track, start_bar, prog, bars, section, rng):
    style = song.bass_style
    for b in range(bars):
        bar = start_bar + b
        chord = prog[b % len(prog)]
        nxt = prog[(b + 1) % len(prog)]
        root = song.pitch(chord, -2)
        fifth = song.pitch(chord + 4, -2)
        if root > 52:
            root, fifth = root - 12, fifth - 12
        vel = 86 if section != "intro" else 74
        if style == "pump":
            for e in range(song.beats * 2):
                track.note(song.at(bar, e), PPQ // 2 - 30, root, vel - (10 if e % 2 else 0))
        elif style == "octave":
            for e in range(song.beats * 2):
                track.note(song.at(bar, e), PPQ // 2 - 40, root + (12 if e % 2 else 0), vel)
        elif style == "rootfifth":
            track.note(song.at(bar, 0), PPQ * 3 // 2, root, vel + 6)
            track.note(song.at(bar, 3), PPQ // 2, root, vel - 10)
            track.note(song.at(bar, 4), PPQ, fifth, vel)
            approach = song.pitch(nxt, -2) - 12 * (song.pitch(nxt, -2) > 52)
            track.note(song.at(bar, 7), PPQ // 2, approach + rng.choice([-2, -1, 2]), vel - 8)
        elif style == "walking":
            target = song.pitch(nxt, -2) - 12 * (song.pitch(nxt, -2) > 52)
            line = [root, song.pitch(chord + 2, -2) - 12 * (root < song.pitch(chord, -2)),
                    fifth, target + rng.choice([-1, 1])]
            for beat, n in enumerate(line):
                track.note(bar * song.bar + beat * PPQ + (0 if beat else 0), PPQ - 40, n,
                           vel - (6 if beat % 2 else 0))
        elif style == "waltz":
            track.note(bar * song.bar, PPQ * 2 - 40, root if bar % 2 == 0 else fifth, vel)


def compose_drums(song, track, start_bar, bars, section, first, rng):
    groove = GROOVES[song.groove]
    steps = 12 if song.beats == 3 or song.groove == "shuffle" else 16
    step_ticks = song.bar // steps
    for b in range(bars):
        bar = start_bar + b
        t0 = bar * song.bar
        fill = b == bars - 1 and section not in ("outro",)
        if b == 0 and not first and section != "outro":
            track.note(t0, PPQ * 2, CRASH, 96)
        for drum, (hits, vel) in groove.items():
            if section == "intro" and drum in (SNARE, CLAP, STICK, CONGA_L):
                continue
            if section == "bridge" and drum in (KICK,) and b % 2:
                continue
            if section == "outro" and b == bars - 1 and drum not in (KICK, CRASH):
                continue
            for s in hits:
                if fill and s >= steps // 2:
                    continue
                track.note(t0 + s * step_ticks, step_ticks, drum, vel + rng.randint(-8, 6))
        if fill:
            toms = [SNARE, SNARE, TOM_H, TOM_H, TOM_M, TOM_M, TOM_L, TOM_L]
            for i, s in enumerate(range(steps // 2, steps)):
                if steps == 12 and i % 2:
                    continue
                track.note(t0 + s * step_ticks, step_ticks, toms[i % 8], 70 + 4 * i)
    if section == "outro":
        track.note((start_bar + bars - 1) * song.bar, PPQ * 2, CRASH, 90)


def compose(index, recipe):
    song = Song(index, recipe)
    rng = song.rng
    tempo, lead, harmony, bass, drums = Track(0), Track(0), Track(1), Track(2), Track(9)
    tempo.meta(0, 0x03, song.title.encode())
    tempo.meta(0, 0x51, struct.pack(">I", 60000000 // song.bpm)[1:])
    tempo.meta(0, 0x58, bytes([song.beats, 2, 24, 8]))
    for t, program, volume, pan in ((lead, song.lead, 96, 72), (harmony, song.harmony, 72, 48),
                                    (bass, song.bass, 90, 64)):
        t.control(0, [0xC0, program])
        t.control(0, [0xB0, 7, volume])
        t.control(0, [0xB0, 10, pan])
        t.control(0, [0xB0, 91, 40])  # a little reverb
    drums.control(0, [0xB0, 7, 84])

    bar = 0
    state = {}
    melodies = {}
    for position, (section, bars) in enumerate(FORM):
        prog = song.progression(section)
        if section in ("verse", "chorus", "bridge"):
            # The same seed for every verse (and every chorus) keeps the tune
            # recognisable; the bridge brings the variation.
            seed = melodies.setdefault(section, rng.randrange(1 << 30))
            compose_melody(song, lead, bar, prog, bars, section, random.Random(seed))
        compose_harmony(song, harmony, bar, prog, bars, section, state, rng)
        compose_bass(song, bass, bar, prog, bars, section, rng)
        compose_drums(song, drums, bar, bars, section, position == 0, rng)
        if section == "outro":
            # The final tonic, held on every instrument.
            end = bar + bars - 1
            lead.note(end * song.bar, song.bar - 20, song.pitch(7), 80)
            bass.note(end * song.bar, song.bar - 20, song.pitch(0, -2), 84)
        bar += bars
    end_tick = bar * song.bar
    tracks = [tempo, lead, harmony, bass, drums]
    data = b"MThd" + struct.pack(">IHHH", 6, 1, len(tracks), PPQ)
    data += b"".join(t.chunk(end_tick) for t in tracks)
    return song, bar, data


def describe(index, song, bars):
    seconds = song.seconds(bars)
    return "vrask%d.mid: \"%s\", %s %s, %d bpm in %d/4, %s over %s (%s), %s, %s drums; %d:%02d" % (
        index, song.title, NAMES[song.tonic], song.mode, song.bpm, song.beats, GM[song.lead],
        GM[song.harmony], song.harmony_style, GM[song.bass], song.groove,
        int(seconds) // 60, int(seconds) % 60)


def main():
    args = [a for a in sys.argv[1:] if not a.startswith("--")]
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = args[0] if args else os.path.join(root, "data")
    os.makedirs(out, exist_ok=True)
    for index, recipe in enumerate(SONGS):
        song, bars, data = compose(index, recipe)
        with open(os.path.join(out, "vrask%d.mid" % index), "wb") as f:
            f.write(data)
        print(describe(index, song, bars) if "--list" in sys.argv else
              "wrote " + os.path.join(out, "vrask%d.mid" % index))


if __name__ == "__main__":
    main()
