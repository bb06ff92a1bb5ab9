#!/usr/bin/env python3
"""Synthesises the game's eight sound effects as WAV files.

Usage: tools/make_effects.py [output folder] [--list]   (default: data/)
--list prints one line per effect (for docs/sounds/).

Every effect is mono 16-bit PCM at 44100 Hz, made from oscillators, noise
and simple filters with a fixed seed, so the files come out the same on
every run. Each is scaled to peak at -3 dBFS and faded in and out over a few
milliseconds so that nothing clicks.
"""

import math
import os
import random
import struct
import sys
import wave

RATE = 44100
PEAK = 10 ** (-3 / 20)  # -3 dBFS
TAU = 2 * math.pi


def frames(seconds):
    return int(seconds * RATE)


class Lowpass:
    """Two-pole resonant low-pass (state-variable); cutoff may change per sample."""

    def __init__(self, q=0.7):
        self.low = self.band = 0.0
        self.damp = 1.0 / q

    def __call__(self, x, cutoff):
        f = 2 * math.sin(math.pi * min(cutoff, RATE / 6) / RATE)
        self.low += f * self.band
        high = x - self.low - self.damp * self.band
        self.band += f * high
        return self.low

    def bandpass(self, x, centre):
        self(x, centre)
        return self.band


def sweep(start, end, t, length, curve=1.0):
    """Exponential glide from start to end over length seconds."""
    k = min(max(t / length, 0.0), 1.0) ** curve
    return start * (end / start) ** k


class Osc:
    """Phase-accumulating oscillator, so gliding pitches stay smooth."""

    def __init__(self):
        self.phase = 0.0

    def step(self, freq):
        self.phase = (self.phase + freq / RATE) % 1.0
        return self.phase

    def sine(self, freq):
        return math.sin(TAU * self.step(freq))

    def saw(self, freq, harmonics=6):
        p = self.step(freq)
        n = max(1, min(harmonics, int(RATE / 2 / max(freq, 1))))
        return sum(math.sin(TAU * k * p) / k for k in range(1, n + 1)) * 0.6


def finish(samples, fade_in=0.004, fade_out=0.02, drive=0.0):
    """Fades the ends and scales the loudest sample to PEAK. A drive above 0
    saturates the sound first (tanh), so a blast with a sharp peak is not
    left quiet everywhere else."""
    n = len(samples)
    if drive:
        top = max(abs(s) for s in samples) or 1.0
        samples = [math.tanh(drive * s / top) for s in samples]
    a, b = frames(fade_in), frames(fade_out)
    for i in range(min(a, n)):
        samples[i] *= i / a
    for i in range(min(b, n)):
        samples[n - 1 - i] *= i / b
    top = max(abs(s) for s in samples) or 1.0
    return [s * PEAK / top for s in samples]


def shield_up(rng):
    """A charge rising from 180 Hz to 1.4 kHz, pulsing faster as it fills."""
    n, length = frames(0.7), 0.7
    a, b, wob = Osc(), Osc(), Osc()
    lp = Lowpass(q=2.0)
    out = []
    for i in range(n):
        t = i / RATE
        f = sweep(180, 1400, t, 0.55, 0.8)
        pulse = 0.65 + 0.35 * wob.sine(sweep(7, 32, t, 0.55))
        v = a.saw(f) + 0.5 * b.saw(f * 1.498)
        env = min(1.0, t / 0.05) * (1.0 if t < 0.55 else math.exp(-(t - 0.55) * 25))
        out.append(lp(v, f * 4) * pulse * env)
    return finish(out, fade_out=0.03)


def shield_down(rng):
    """The charge running out: falling 1.2 kHz to 110 Hz, pulse slowing."""
    n = frames(0.6)
    a, b, wob = Osc(), Osc(), Osc()
    lp = Lowpass(q=1.5)
    out = []
    for i in range(n):
        t = i / RATE
        f = sweep(1200, 110, t, 0.55, 0.7)
        pulse = 0.6 + 0.4 * wob.sine(sweep(30, 5, t, 0.55))
        v = a.saw(f) + 0.4 * b.saw(f * 0.749)
        env = min(1.0, t / 0.01) * math.exp(-t * 3.5)
        out.append(lp(v, f * 3) * pulse * env)
    return finish(out, fade_out=0.05)


def launch(rng):
    """A whoosh: noise through a band that sweeps up and back, with a soft thump."""
    n, length = frames(0.55), 0.55
    bp = Lowpass(q=3.0)
    thump = Osc()
    out = []
    for i in range(n):
        t = i / RATE
        centre = 500 + 3200 * math.sin(math.pi * min(t / 0.45, 1.0)) ** 1.5
        env = min(1.0, t / 0.06) * math.exp(-t * 4.5)
        air = bp.bandpass(rng.uniform(-1, 1), centre) * env
        boom = thump.sine(sweep(160, 55, t, 0.12)) * math.exp(-t * 22) * 0.8
        out.append(air * 2.2 + boom)
    return finish(out, fade_out=0.04, drive=1.5)


def blast(rng, length, boom_hz, bright, crackle_rate, tail):
    """An explosion: a thud, a noise blast closing down, and crackles that thin out."""
    n = frames(length)
    lp, crack_lp = Lowpass(q=0.8), Lowpass(q=0.6)
    boom = Osc()
    out = []
    crackle = 0.0
    for i in range(n):
        t = i / RATE
        noise = rng.uniform(-1, 1)
        body = lp(noise, sweep(bright, 180, t, length * 0.8, 0.6)) * math.exp(-t * tail)
        thud = boom.sine(sweep(boom_hz, boom_hz * 0.45, t, 0.25)) * math.exp(-t * 9)
        # Crackles: sparse clicks whose density falls with time.
        if rng.random() < crackle_rate * math.exp(-t * 5) / RATE:
            crackle = rng.choice((-1, 1)) * rng.uniform(0.4, 1.0)
        crackle *= 0.993
        sparks = crack_lp(crackle * rng.uniform(0.2, 1.0), 3500)
        out.append(body * 1.4 + thud * 0.9 + sparks * 0.9)
    return out


def explode_wall(rng):
    """A fireball bursting on the edge: short, bright blast with a crackling tail."""
    return finish(blast(rng, 0.8, 110, 6000, 900, 6.0), fade_out=0.06, drive=3.0)


def explode(rng):
    """A player hit: a bigger, deeper blast with a long rumbling tail."""
    out = blast(rng, 1.4, 70, 5000, 1400, 3.2)
    rumble = Lowpass(q=0.9)
    for i in range(len(out)):
        t = i / RATE
        out[i] += rumble(rng.uniform(-1, 1), 120) * 3.0 * math.exp(-t * 2.2) * min(1.0, t / 0.05)
    return finish(out, fade_out=0.12, drive=3.5)


def metal(rng, n, partials, strikes, noise_band, noise_amount):
    """Struck metal: inharmonic partials that ring briefly, hit at each strike time."""
    out = [0.0] * n
    for at, strength in strikes:
        start = frames(at)
        for freq, decay, amp in partials:
            freq *= rng.uniform(0.97, 1.03)
            phase = rng.random()
            for i in range(start, n):
                t = (i - start) / RATE
                e = math.exp(-t * decay)
                if e < 1e-3:
                    break
                out[i] += strength * amp * e * math.sin(TAU * (freq * t + phase))
    bp = Lowpass(q=1.2)
    for i in range(n):
        t = i / RATE
        hit = max((math.exp(-(t - at) * 30) * s for at, s in strikes if t >= at), default=0.0)
        out[i] += bp.bandpass(rng.uniform(-1, 1), noise_band) * hit * noise_amount
    return out


def crash(rng):
    """Two unshielded vehicles meeting: a metallic crunch of three quick blows."""
    partials = [(420, 18, 0.6), (1130, 22, 0.5), (1870, 28, 0.45), (2630, 35, 0.35),
                (3950, 45, 0.25), (5210, 60, 0.2)]
    out = metal(rng, frames(0.6), partials, [(0.0, 1.0), (0.07, 0.7), (0.16, 0.35)], 2800, 2.5)
    return finish(out, fade_out=0.05, drive=3.0)


def overrun(rng):
    """A shield running a vehicle over: low grinding crunches under heavier metal."""
    n = frames(1.0)
    partials = [(190, 9, 0.7), (530, 12, 0.5), (870, 16, 0.4), (1460, 22, 0.3)]
    strikes = [(0.0, 1.0)] + [(0.12 + k * 0.11 + rng.uniform(-0.02, 0.02), 0.55 - k * 0.08)
                              for k in range(6)]
    out = metal(rng, n, partials, strikes, 900, 3.0)
    grind, lp = Osc(), Lowpass(q=1.0)
    for i in range(n):
        t = i / RATE
        rough = 0.5 + 0.5 * math.sin(TAU * 17 * t + 2 * math.sin(TAU * 5 * t))
        f = 62 + 9 * math.sin(TAU * 3.1 * t) + rng.uniform(-4, 4)
        g = lp(grind.saw(f, 12) + 0.3 * rng.uniform(-1, 1), 900) * rough
        out[i] += g * 0.9 * math.exp(-t * 1.8) * min(1.0, t / 0.02)
    return finish(out, fade_out=0.08, drive=2.5)


def ring(rng):
    """A chat line: a bright two-tone chime, E6 then A6, like a small bell."""
    n = frames(0.85)
    out = [0.0] * n
    for at, base in ((0.0, 1318.5), (0.13, 1760.0)):
        start = frames(at)
        for ratio, decay, amp in ((1.0, 5.0, 1.0), (2.0, 8.0, 0.35), (2.76, 11.0, 0.25),
                                  (5.4, 20.0, 0.12)):
            for i in range(start, n):
                t = (i - start) / RATE
                out[i] += amp * math.exp(-t * decay) * min(1.0, t / 0.002) * math.sin(
                    TAU * base * ratio * t)
    return finish(out, fade_out=0.06)


EFFECTS = {
    "shieldup.wav": shield_up,
    "shielddo.wav": shield_down,
    "launchf.wav": launch,
    "explodew.wav": explode_wall,
    "crash.wav": crash,
    "overrun.wav": overrun,
    "explode.wav": explode,
    "ring.wav": ring,
}


def write_wav(path, samples):
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(b"".join(struct.pack("<h", round(s * 32767)) for s in samples))


def main():
    if "--list" in sys.argv:
        for name, make in EFFECTS.items():
            print("%s: %s" % (name, " ".join(make.__doc__.split())))
        return
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "data")
    os.makedirs(out, exist_ok=True)
    for seed, (name, make) in enumerate(EFFECTS.items()):
        write_wav(os.path.join(out, name), make(random.Random(1000 + seed)))
        print("wrote", os.path.join(out, name))


if __name__ == "__main__":
    main()
