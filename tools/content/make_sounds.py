#!/usr/bin/python3
"""Synthesises the game's seventeen sounds: fourteen effects and three looping music tracks.

    /usr/bin/python3 tools/content/make_sounds.py [--out DIR]

writes DIR/sound_00.wav .. sound_16.wav (DIR defaults to content/sounds beside this script's
repository root). Only the standard library is used. Every sample is computed here from
oscillators, our own noise generator and hand-written note lists; nothing is sampled or read.
The same script gives the same bytes on every run.

Files: PCM, 16-bit, mono, 22050 Hz.
  0 level-up fanfare          7 magic swirl (events)
  1 orb landing               8 cursor / confirm blip
  2 knock-back thump          9 saved chime
  3 event chime               10 whoosh (orbs set off, spinning attacker)
  4 refusal buzz              11 shot zap
  5 hit                       12 heal shimmer
  6 footstep tick             13 coins
 14 title theme   15 board theme   16 battle theme (whole-file seamless loops)

The music tracks loop over the whole data chunk, so each one is rendered onto a circle: a note
that rings past the end of the loop continues at its start, and the reverb runs in its steady
state, so the last sample flows into the first exactly as any two neighbouring samples do.
"""
import argparse
import math
import os
import struct

RATE = 22050
NYQUIST_SHARE = 0.45  # harmonics stay below 0.45 x the sample rate: no aliasing
TABLE_BITS = 11
TABLE_SIZE = 1 << TABLE_BITS
TWO_PI = 2.0 * math.pi


# ---------------------------------------------------------------------------------------------
# Deterministic noise and small helpers

class Noise:
    """xorshift32: the same seed gives the same noise everywhere."""

    def __init__(self, seed):
        self.state = (seed & 0xFFFFFFFF) or 0x9E3779B9

    def next(self):
        s = self.state
        s ^= (s << 13) & 0xFFFFFFFF
        s ^= s >> 17
        s ^= (s << 5) & 0xFFFFFFFF
        self.state = s
        return s / 2147483648.0 - 1.0

    def block(self, n):
        nxt = self.next
        return [nxt() for _ in range(n)]


def secs(t):
    return int(round(t * RATE))


def midi_freq(m):
    return 440.0 * 2.0 ** ((m - 69) / 12.0)


NOTE_NAMES = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}


def note_number(name):
    """'F#5' -> 78 (C4 = 60)."""
    semis = NOTE_NAMES[name[0]]
    i = 1
    while i < len(name) and name[i] in "#b":
        semis += 1 if name[i] == "#" else -1
        i += 1
    octave = int(name[i:])
    return 12 * (octave + 1) + semis


def mix_into(buf, start, data, gain=1.0, wrap=False):
    """Adds data x gain into buf at start; with wrap the buffer is a circle."""
    n = len(buf)
    if wrap:
        start %= n
        pos = 0
        while pos < len(data):
            seg = min(len(data) - pos, n - start)
            buf[start:start + seg] = [a + gain * b for a, b in
                                      zip(buf[start:start + seg], data[pos:pos + seg])]
            pos += seg
            start = 0
        return
    end = min(n, start + len(data))
    if end <= start:
        return
    buf[start:end] = [a + gain * b for a, b in zip(buf[start:end], data)]


def scale(data, g):
    return [g * v for v in data]


def multiply(a, b):
    return [x * y for x, y in zip(a, b)]


def peak(data):
    return max(abs(v) for v in data)


def normalise(data, target):
    p = peak(data)
    return data if p == 0 else scale(data, target / p)


def fade_edges(data, fade_in, fade_out):
    """Short linear ramps so an effect neither clicks on nor off."""
    n = len(data)
    for i in range(min(fade_in, n)):
        data[i] *= i / fade_in
    for i in range(min(fade_out, n)):
        data[n - 1 - i] *= i / fade_out
    return data


# ---------------------------------------------------------------------------------------------
# Filters

def one_pole_coeff(cutoff):
    return 1.0 - math.exp(-TWO_PI * cutoff / RATE)


def lowpass(data, cutoff):
    a = one_pole_coeff(cutoff)
    y = 0.0
    out = []
    ap = out.append
    for x in data:
        y += a * (x - y)
        ap(y)
    return out


def highpass(data, cutoff):
    low = lowpass(data, cutoff)
    return [x - l for x, l in zip(data, low)]


def lowpass_sweep(data, f0, f1):
    """One-pole lowpass whose cutoff glides exponentially from f0 to f1."""
    n = len(data)
    y = 0.0
    out = []
    ap = out.append
    ratio = (f1 / f0) ** (1.0 / max(1, n - 1))
    f = f0
    for x in data:
        a = 1.0 - math.exp(-TWO_PI * f / RATE)
        y += a * (x - y)
        ap(y)
        f *= ratio
    return out


def bandpass_sweep(data, f0, f1, width=0.5):
    """Two one-pole stages: lowpass at f x (1 + width) minus lowpass at f x (1 - width)."""
    n = len(data)
    hi = lo = 0.0
    out = []
    ap = out.append
    ratio = (f1 / f0) ** (1.0 / max(1, n - 1))
    f = f0
    for x in data:
        a_hi = 1.0 - math.exp(-TWO_PI * f * (1.0 + width) / RATE)
        a_lo = 1.0 - math.exp(-TWO_PI * f * (1.0 - width) / RATE)
        hi += a_hi * (x - hi)
        lo += a_lo * (x - lo)
        ap(hi - lo)
        f *= ratio
    return out


# ---------------------------------------------------------------------------------------------
# Wavetable oscillators

def _harmonics(name, count):
    """(harmonic number, amplitude) pairs of a timbre, up to count harmonics."""
    if name == "sine":
        return [(1, 1.0)]
    if name == "flute":
        return [(1, 1.0), (2, 0.22), (3, 0.09), (4, 0.03)]
    if name == "ocarina":
        return [(1, 1.0), (2, 0.08), (3, 0.05)]
    if name == "soft":
        return [(1, 1.0), (2, 0.3), (3, 0.12), (4, 0.05)]
    if name == "string":
        return [(n, 1.0 / n ** 1.35) for n in range(1, count + 1)]
    if name == "saw":
        return [(n, 1.0 / n) for n in range(1, count + 1)]
    if name == "square":
        return [(n, 1.0 / n) for n in range(1, count + 1, 2)]
    if name == "pulse":  # a 30 % pulse: every harmonic, shaped by sin(pi n d)
        return [(n, math.sin(math.pi * n * 0.3) / n) for n in range(1, count + 1)]
    if name == "triangle":
        return [(n, (1.0 if (n // 2) % 2 == 0 else -1.0) / (n * n))
                for n in range(1, count + 1, 2)]
    if name == "bright":  # plucked string just after the pluck
        return [(n, 1.0 / n ** 1.1 * (0.6 if n % 3 == 0 else 1.0)) for n in range(1, count + 1)]
    raise ValueError(name)


_tables = {}


def wavetable(name, freq):
    count = max(1, int(NYQUIST_SHARE * RATE / max(freq, 1.0)))
    count = min(count, 64)
    key = (name, count)
    table = _tables.get(key)
    if table is None:
        parts = [(h, a) for h, a in _harmonics(name, count) if h <= count]
        table = [0.0] * (TABLE_SIZE + 1)
        for i in range(TABLE_SIZE):
            ph = TWO_PI * i / TABLE_SIZE
            table[i] = sum(a * math.sin(h * ph) for h, a in parts)
        p = max(abs(v) for v in table) or 1.0
        table = [v / p for v in table]
        table[TABLE_SIZE] = table[0]
        _tables[key] = table
    return table


def osc(name, freq, n, vibrato=0.0, vib_rate=5.0, vib_delay=0.0, phase=0.0):
    """n samples of a band-limited periodic wave; vibrato is a depth in semitones."""
    table = wavetable(name, freq * (2.0 ** (vibrato / 12.0)))
    out = [0.0] * n
    ph = (phase % 1.0) * TABLE_SIZE
    inc = freq * TABLE_SIZE / RATE
    mask = TABLE_SIZE
    if vibrato == 0.0:
        for i in range(n):
            k = int(ph)
            f = ph - k
            out[i] = table[k] + f * (table[k + 1] - table[k])
            ph += inc
            if ph >= mask:
                ph -= mask
        return out
    delay = secs(vib_delay)
    w = TWO_PI * vib_rate / RATE
    for i in range(n):
        k = int(ph)
        f = ph - k
        out[i] = table[k] + f * (table[k + 1] - table[k])
        depth = vibrato if i >= delay else vibrato * i / delay
        # 2^(d sin / 12) ~ 1 + (ln 2 / 12) d sin for the small depths used here.
        ph += inc * (1.0 + 0.0578 * depth * math.sin(w * i))
        if ph >= mask:
            ph -= mask
    return out


def osc_glide(name, f0, f1, n, curve=1.0):
    """A wave whose frequency glides from f0 to f1 (exponentially, bent by curve)."""
    table = wavetable(name, max(f0, f1))
    out = [0.0] * n
    ph = 0.0
    lr = math.log(f1 / f0)
    for i in range(n):
        x = (i / max(1, n - 1)) ** curve
        f = f0 * math.exp(lr * x)
        k = int(ph)
        fr = ph - k
        out[i] = table[k] + fr * (table[k + 1] - table[k])
        ph += f * TABLE_SIZE / RATE
        while ph >= TABLE_SIZE:
            ph -= TABLE_SIZE
    return out


def sine_partial(freq, n, tau, phase=0.0):
    """One exponentially decaying sine (for bells, whose partials are not harmonic)."""
    if freq >= NYQUIST_SHARE * RATE:
        return [0.0] * n
    w = TWO_PI * freq / RATE
    d = math.exp(-1.0 / (tau * RATE))
    out = [0.0] * n
    g = 1.0
    for i in range(n):
        out[i] = g * math.sin(w * i + phase)
        g *= d
    return out


# ---------------------------------------------------------------------------------------------
# Envelopes

def env_adsr(hold, attack, decay, sustain, release):
    """Linear attack, exponential decay toward sustain, exponential release after hold samples.
    The result is hold + release samples long and ends at zero."""
    a = max(1, secs(attack))
    r = max(1, secs(release))
    d_coef = math.exp(-1.0 / max(1.0, decay * RATE))
    out = [0.0] * (hold + r)
    level = 0.0
    for i in range(hold):
        if i < a:
            level = (i + 1) / a
        else:
            level = sustain + (level - sustain) * d_coef
        out[i] = level
    start = level
    for i in range(r):
        x = i / r
        out[hold + i] = start * (1.0 - x) * math.exp(-4.0 * x)
    return out


def env_pluck(n, attack, tau):
    """Quick attack, then exponential decay with time constant tau; last 5 ms fade to zero."""
    a = max(1, secs(attack))
    d = math.exp(-1.0 / (tau * RATE))
    out = [0.0] * n
    g = 1.0
    for i in range(n):
        out[i] = (i / a if i < a else 1.0) * g
        if i >= a:
            g *= d
    return fade_edges(out, 0, secs(0.005))


# ---------------------------------------------------------------------------------------------
# Instruments: each returns the samples of one note, release tail included.

_note_cache = {}


def instrument(name, midi, dur, vel=1.0):
    key = (name, midi, dur, round(vel, 4))
    cached = _note_cache.get(key)
    if cached is not None:
        return cached
    data = INSTRUMENTS[name](midi_freq(midi), dur)
    if vel != 1.0:
        data = scale(data, vel)
    _note_cache[key] = data
    return data


def inst_flute(f, dur):
    env = env_adsr(dur, 0.045, 0.4, 0.8, 0.12)
    tone = osc("flute", f, len(env), vibrato=0.18, vib_rate=5.2, vib_delay=0.25)
    breath = lowpass(Noise(int(f * 7)).block(len(env)), 2500.0)
    return [e * (t + 0.025 * b) for e, t, b in zip(env, tone, breath)]


def inst_ocarina(f, dur):
    env = env_adsr(dur, 0.03, 0.3, 0.75, 0.09)
    tone = osc("ocarina", f, len(env), vibrato=0.12, vib_rate=4.6, vib_delay=0.2)
    return multiply(env, tone)


def inst_harp(f, dur):
    n = dur + secs(1.4)
    env = env_pluck(n, 0.002, 0.55)
    bright = osc("bright", f, n)
    soft = osc("soft", f, n)
    k = math.exp(-1.0 / (0.08 * RATE))
    out = [0.0] * n
    g = 1.0
    for i in range(n):
        out[i] = env[i] * (g * bright[i] + (1.0 - g) * soft[i])
        g *= k
    return out


def inst_marimba(f, dur):
    """A struck bar: the upper partials (near 4x and 10x) die away far sooner than the tone."""
    n = dur + secs(0.9)
    env = env_pluck(n, 0.003, 0.32)
    out = multiply(env, osc("sine", f, n))
    for ratio, amp, tau in ((3.93, 0.3, 0.07), (9.6, 0.08, 0.02)):
        partial = sine_partial(f * ratio, n, tau)
        mix_into(out, 0, multiply(partial, env_pluck(n, 0.002, 1.0)), amp)
    return out


def inst_bell(f, dur):
    n = dur + secs(1.6)
    parts = [(1.0, 1.0, 1.1), (2.76, 0.35, 0.45), (5.4, 0.18, 0.2), (2.0, 0.2, 0.8)]
    out = [0.0] * n
    for ratio, amp, tau in parts:
        mix_into(out, 0, sine_partial(f * ratio, n, tau), amp)
    return fade_edges(out, secs(0.002), secs(0.01))


def inst_pad(f, dur):
    env = env_adsr(dur, 0.35, 1.0, 0.85, 0.7)
    n = len(env)
    a = osc("string", f, n, phase=0.0)
    b = osc("string", f * 1.004, n, phase=0.37)
    c = osc("soft", f * 0.997, n, phase=0.71)
    tone = lowpass([x + y + 0.8 * z for x, y, z in zip(a, b, c)], 1800.0)
    return [e * t * 0.4 for e, t in zip(env, tone)]


def inst_saw_pad(f, dur):
    env = env_adsr(dur, 0.04, 0.5, 0.7, 0.25)
    n = len(env)
    a = osc("saw", f, n)
    b = osc("saw", f * 1.006, n, phase=0.5)
    tone = lowpass([x + y for x, y in zip(a, b)], 2200.0)
    return [e * t * 0.5 for e, t in zip(env, tone)]


def inst_soft_bass(f, dur):
    env = env_adsr(dur, 0.012, 0.6, 0.7, 0.15)
    return multiply(env, osc("soft", f, len(env)))


def inst_walk_bass(f, dur):
    n = dur + secs(0.25)
    env = env_pluck(n, 0.004, 0.3)
    tone = osc("triangle", f, n)
    thumb = osc("soft", f, n)
    return [e * (0.7 * t + 0.5 * u) for e, t, u in zip(env, tone, thumb)]


def inst_synth_bass(f, dur):
    env = env_adsr(dur, 0.004, 0.12, 0.55, 0.04)
    tone = lowpass_sweep(osc("saw", f, len(env)), 2400.0, 700.0)
    return multiply(env, tone)


def inst_lead(f, dur):
    env = env_adsr(dur, 0.012, 0.35, 0.75, 0.08)
    n = len(env)
    a = osc("pulse", f, n, vibrato=0.2, vib_rate=5.8, vib_delay=0.18)
    b = osc("square", f * 1.003, n, phase=0.25)
    tone = lowpass([0.7 * x + 0.3 * y for x, y in zip(a, b)], 3200.0)
    return multiply(env, tone)


def inst_pluck_lead(f, dur):
    n = dur + secs(0.3)
    env = env_pluck(n, 0.002, 0.16)
    tone = lowpass(osc("square", f, n), 2600.0)
    return multiply(env, tone)


INSTRUMENTS = {
    "flute": inst_flute, "ocarina": inst_ocarina, "harp": inst_harp, "marimba": inst_marimba,
    "bell": inst_bell, "pad": inst_pad, "saw_pad": inst_saw_pad, "soft_bass": inst_soft_bass,
    "walk_bass": inst_walk_bass, "synth_bass": inst_synth_bass, "lead": inst_lead,
    "pluck_lead": inst_pluck_lead,
}


# ---------------------------------------------------------------------------------------------
# Drums (each hit rendered once and reused)

def drum_kick(seed=1):
    n = secs(0.32)
    tone = osc_glide("sine", 150.0, 42.0, n, curve=0.35)
    env = env_pluck(n, 0.001, 0.11)
    click = lowpass(Noise(seed).block(secs(0.006)), 3000.0)
    out = multiply(tone, env)
    mix_into(out, 0, fade_edges(click, secs(0.0005), secs(0.004)), 0.25)
    return out


def drum_snare(seed=2):
    n = secs(0.22)
    noise = highpass(lowpass(Noise(seed).block(n), 6500.0), 400.0)
    out = multiply(noise, env_pluck(n, 0.001, 0.06))
    tone = multiply(osc_glide("sine", 230.0, 170.0, n), env_pluck(n, 0.001, 0.04))
    mix_into(out, 0, tone, 0.6)
    return fade_edges(out, 0, secs(0.01))


def drum_hat(seed=3, tau=0.022):
    n = secs(0.09)
    noise = highpass(Noise(seed).block(n), 6000.0)
    return fade_edges(multiply(noise, env_pluck(n, 0.0007, tau)), 0, secs(0.005))


def drum_shaker(seed=4):
    n = secs(0.08)
    noise = highpass(lowpass(Noise(seed).block(n), 9000.0), 3500.0)
    env = env_adsr(secs(0.03), 0.012, 0.02, 0.3, 0.04)
    return multiply(noise, env[:n] + [0.0] * (n - len(env)))


def drum_crash(seed=5):
    n = secs(1.6)
    noise = highpass(Noise(seed).block(n), 4000.0)
    return fade_edges(multiply(noise, env_pluck(n, 0.002, 0.45)), 0, secs(0.05))


def drum_soft_kick(seed=6):
    n = secs(0.2)
    tone = osc_glide("sine", 110.0, 55.0, n, curve=0.5)
    return multiply(tone, env_pluck(n, 0.003, 0.07))


def drum_tom(freq, seed=7):
    n = secs(0.35)
    tone = osc_glide("sine", freq * 1.4, freq, n, curve=0.4)
    out = multiply(tone, env_pluck(n, 0.001, 0.12))
    hit = multiply(lowpass(Noise(seed).block(n), 2500.0), env_pluck(n, 0.001, 0.02))
    mix_into(out, 0, hit, 0.3)
    return out


# ---------------------------------------------------------------------------------------------
# Sound effects. Each returns float samples; the caller sets the peak and fades the edges.

def blank(t):
    return [0.0] * secs(t)


def fx_level_up():
    """A bright rising fanfare: C E G C in quick steps, then the major chord ringing out."""
    out = blank(1.05)
    step = secs(0.065)
    for k, m in enumerate((72, 76, 79, 84)):
        n = secs(0.16)
        tone = multiply(osc("pulse", midi_freq(m), n), env_pluck(n, 0.002, 0.07))
        mix_into(out, k * step, tone, 0.5)
        mix_into(out, k * step, inst_bell(midi_freq(m + 12), 1)[:n * 2], 0.18)
    chord_at = 4 * step
    n = len(out) - chord_at
    for m in (84, 88, 91):
        tone = osc("pulse", midi_freq(m), n, vibrato=0.15, vib_rate=7.0)
        env = env_pluck(n, 0.004, 0.28)
        mix_into(out, chord_at, multiply(tone, env), 0.28)
    for k, m in enumerate((96, 100, 103, 108, 100, 103, 96)):  # sparkles over the chord
        at = chord_at + secs(0.05 + 0.07 * k)
        mix_into(out, at, sine_partial(midi_freq(m), secs(0.2), 0.05), 0.12)
    return out


def fx_orb_land():
    """A glassy orb touching down: a short falling thud under a clear ping."""
    n = secs(0.34)
    thud = multiply(osc_glide("sine", 320.0, 70.0, n, curve=0.4), env_pluck(n, 0.001, 0.07))
    out = scale(thud, 0.8)
    mix_into(out, 0, sine_partial(1480.0, n, 0.09), 0.3)
    mix_into(out, 0, sine_partial(1480.0 * 2.76, n, 0.04), 0.12)
    grit = multiply(lowpass(Noise(21).block(n), 1800.0), env_pluck(n, 0.0005, 0.02))
    mix_into(out, 0, grit, 0.5)
    return out


def fx_knock_back():
    """A heavy body blow that shoves a side back: noise closing down over a low drop."""
    n = secs(0.5)
    noise = lowpass_sweep(lowpass_sweep(Noise(31).block(n), 2600.0, 160.0), 3200.0, 240.0)
    out = multiply(noise, env_pluck(n, 0.001, 0.12))
    out = scale(out, 2.5)
    low = multiply(osc_glide("sine", 110.0, 38.0, n, curve=0.5), env_pluck(n, 0.002, 0.16))
    mix_into(out, 0, low, 0.9)
    return out


def fx_event_chime():
    """Something noticed: two soft bells a fifth apart with a shimmer between them."""
    out = blank(0.95)
    mix_into(out, 0, inst_bell(midi_freq(88), 1), 0.45)         # E6
    mix_into(out, secs(0.12), inst_bell(midi_freq(95), 1), 0.35)  # B6
    n = len(out)
    shimmer = multiply(osc("sine", midi_freq(100), n, vibrato=0.6, vib_rate=9.0),
                       env_adsr(secs(0.3), 0.15, 0.3, 0.6, 0.45))
    mix_into(out, secs(0.1), shimmer[:n - secs(0.1)], 0.08)
    return out


def fx_refusal():
    """Not allowed: two low buzzes, the second lower."""
    out = blank(0.34)
    for k, f in enumerate((196.0, 156.0)):
        n = secs(0.12)
        tone = lowpass(osc("square", f, n), 2200.0)
        env = env_adsr(n - secs(0.02), 0.003, 0.2, 0.9, 0.02)
        mix_into(out, k * secs(0.16), multiply(tone, env[:n]), 0.8)
    return out


def fx_hit():
    """A strike lands: a sharp crack over a short falling knock."""
    n = secs(0.24)
    crack = highpass(Noise(51).block(n), 900.0)
    out = multiply(crack, env_pluck(n, 0.0005, 0.025))
    knock = multiply(osc_glide("triangle", 620.0, 140.0, n, curve=0.5),
                     env_pluck(n, 0.001, 0.05))
    mix_into(out, 0, knock, 0.9)
    body = multiply(osc_glide("sine", 180.0, 80.0, n), env_pluck(n, 0.002, 0.06))
    mix_into(out, 0, body, 0.7)
    return out


def fx_step():
    """One step on the board: a soft wooden tock, over before a walker reaches the next square
    (4 frames)."""
    n = secs(0.06)
    tap = multiply(lowpass(Noise(61).block(n), 1100.0), env_pluck(n, 0.0008, 0.012))
    out = scale(tap, 2.0)
    tone = multiply(osc_glide("sine", 520.0, 300.0, n), env_pluck(n, 0.001, 0.014))
    mix_into(out, 0, tone, 0.45)
    thump = multiply(osc("sine", 140.0, n), env_pluck(n, 0.002, 0.02))
    mix_into(out, 0, thump, 0.5)
    return out


def fx_magic_swirl():
    """A spell or a warp: a rising, wavering tone wrapped in airy noise."""
    n = secs(0.85)
    env = env_adsr(secs(0.55), 0.12, 0.4, 0.8, 0.3)[:n]
    env += [0.0] * (n - len(env))
    tone = osc_glide("soft", 330.0, 1320.0, n, curve=0.8)
    wob = [0.6 + 0.4 * math.sin(TWO_PI * 11.0 * i / RATE) for i in range(n)]
    out = [e * t * w for e, t, w in zip(env, tone, wob)]
    air = bandpass_sweep(Noise(71).block(n), 800.0, 4000.0, width=0.4)
    mix_into(out, 0, multiply(air, env), 1.2)
    upper = osc_glide("sine", 660.0, 2640.0, n, curve=0.8)
    mix_into(out, 0, multiply(upper, env), 0.2)
    return out


def fx_blip():
    """Cursor moves and confirmations: a short, round blip that stays pleasant when repeated."""
    n = secs(0.05)
    tone = osc("soft", midi_freq(86), n)  # D6
    env = env_pluck(n, 0.0015, 0.014)
    out = multiply(tone, env)
    mix_into(out, 0, multiply(osc("sine", midi_freq(98), n), env_pluck(n, 0.001, 0.006)), 0.25)
    return out


def fx_saved():
    """The game is safe: three bell notes climbing to the octave, ringing out calmly."""
    out = blank(1.0)
    for k, (m, g) in enumerate(((79, 0.42), (86, 0.36), (91, 0.4))):  # G5 D6 G6
        mix_into(out, k * secs(0.1), inst_bell(midi_freq(m), 1), g)
    n = len(out)
    pad = multiply(osc("soft", midi_freq(67), n), env_adsr(secs(0.4), 0.05, 0.5, 0.6, 0.5)[:n])
    mix_into(out, 0, pad, 0.12)
    return out


def fx_whoosh():
    """Orbs set off and spinning attackers: a quick rising rush of air, 9 frames long."""
    n = secs(0.15)
    air = bandpass_sweep(Noise(101).block(n), 500.0, 2600.0, width=0.45)
    env = [math.sin(math.pi * i / n) ** 1.5 for i in range(n)]
    out = multiply(air, env)
    return scale(out, 3.0)


def fx_shot():
    """A shot or a rain of orbs begins: a falling zap with a spark at its start."""
    n = secs(0.26)
    zap = lowpass(osc_glide("square", 1500.0, 240.0, n, curve=0.6), 5000.0)
    out = multiply(zap, env_pluck(n, 0.001, 0.09))
    spark = multiply(highpass(Noise(111).block(n), 3000.0), env_pluck(n, 0.0005, 0.015))
    mix_into(out, 0, spark, 0.5)
    return out


def fx_heal():
    """Hit points restored: a soft upward shimmer of bells over a warm swell."""
    out = blank(1.15)
    for k, m in enumerate((72, 76, 79, 84, 88, 91)):
        mix_into(out, k * secs(0.065), inst_bell(midi_freq(m), 1), 0.22)
    n = len(out)
    swell = env_adsr(secs(0.55), 0.25, 0.6, 0.7, 0.5)[:n]
    swell += [0.0] * (n - len(swell))
    for m in (60, 64, 67):
        tone = osc("soft", midi_freq(m), n, vibrato=0.1, vib_rate=4.0)
        mix_into(out, 0, multiply(tone, swell), 0.1)
    trem = [0.8 + 0.2 * math.sin(TWO_PI * 6.0 * i / RATE) for i in range(n)]
    return multiply(out, trem)


def fx_coins():
    """Money changes hands: three small coins clinking, metal partials that are not harmonic."""
    out = blank(0.42)
    for k, (f, g) in enumerate(((2093.0, 0.5), (2349.0, 0.42), (2217.0, 0.35))):
        at = secs((0.0, 0.07, 0.15)[k])
        n = len(out) - at
        ping = [0.0] * n
        for ratio, amp, tau in ((1.0, 1.0, 0.09), (1.83, 0.5, 0.05), (2.71, 0.35, 0.03),
                                (3.9, 0.2, 0.02)):
            mix_into(ping, 0, sine_partial(f * ratio, n, tau, phase=0.3 * k), amp)
        tick = multiply(highpass(Noise(131 + k).block(n), 4000.0), env_pluck(n, 0.0003, 0.004))
        mix_into(ping, 0, tick, 0.6)
        mix_into(out, at, ping, g)
    return out


# Index, builder, peak as a share of full scale. The cursor blip is quieter: it plays on
# nearly every key press.
EFFECTS = [
    (0, fx_level_up, 0.80),
    (1, fx_orb_land, 0.72),
    (2, fx_knock_back, 0.85),
    (3, fx_event_chime, 0.70),
    (4, fx_refusal, 0.45),
    (5, fx_hit, 0.82),
    (6, fx_step, 0.55),
    (7, fx_magic_swirl, 0.70),
    (8, fx_blip, 0.45),
    (9, fx_saved, 0.70),
    (10, fx_whoosh, 0.60),
    (11, fx_shot, 0.66),
    (12, fx_heal, 0.70),
    (13, fx_coins, 0.66),
]


# ---------------------------------------------------------------------------------------------
# Music: scores on a circle

def reverb_loop(send, prime):
    """A small hall (four damped combs into two allpasses) run in its steady state over a loop:
    the filters first hear the loop's last `prime` samples, so the reverb that opens the loop
    is the tail of its end."""
    n = len(send)
    combs = [(558, 0.80), (594, 0.79), (638, 0.78), (678, 0.77)]
    damp = 0.35
    bufs = [[0.0] * d for d, _ in combs]
    idx = [0, 0, 0, 0]
    filt = [0.0, 0.0, 0.0, 0.0]
    aps = [[0.0] * 278, [0.0] * 112]
    aidx = [0, 0]
    out = [0.0] * n
    (b0, b1, b2, b3) = bufs
    (g0, g1, g2, g3) = (c[1] for c in combs)
    (l0, l1, l2, l3) = (c[0] for c in combs)
    i0 = i1 = i2 = i3 = 0
    f0 = f1 = f2 = f3 = 0.0
    a0, a1 = aps
    la0, la1 = len(a0), len(a1)
    j0 = j1 = 0
    keep = 1.0 - damp
    for step in range(n + prime):
        x = send[(step - prime) % n] * 0.25
        y0 = b0[i0]; f0 = y0 * keep + f0 * damp; b0[i0] = x + f0 * g0
        y1 = b1[i1]; f1 = y1 * keep + f1 * damp; b1[i1] = x + f1 * g1
        y2 = b2[i2]; f2 = y2 * keep + f2 * damp; b2[i2] = x + f2 * g2
        y3 = b3[i3]; f3 = y3 * keep + f3 * damp; b3[i3] = x + f3 * g3
        i0 = i0 + 1 if i0 + 1 < l0 else 0
        i1 = i1 + 1 if i1 + 1 < l1 else 0
        i2 = i2 + 1 if i2 + 1 < l2 else 0
        i3 = i3 + 1 if i3 + 1 < l3 else 0
        v = y0 + y1 + y2 + y3
        bo = a0[j0]; a0[j0] = v + bo * 0.5; v = bo - v
        j0 = j0 + 1 if j0 + 1 < la0 else 0
        bo = a1[j1]; a1[j1] = v + bo * 0.5; v = bo - v
        j1 = j1 + 1 if j1 + 1 < la1 else 0
        if step >= prime:
            out[step - prime] = v
    return out


def parse_line(text, beats_per_bar=4):
    """'F#5:1.5 E5:0.5 | r:4' -> [(beat, midi, beats)], each bar checked to add up."""
    notes = []
    beat = 0.0
    for bar_no, bar in enumerate(text.split("|")):
        start = beat
        for tok in bar.split():
            name, dur = tok.split(":")
            dur = float(dur)
            if name != "r":
                notes.append((beat, note_number(name), dur))
            beat += dur
        if abs(beat - start - beats_per_bar) > 1e-9:
            raise ValueError("bar %d lasts %g beats: %s" % (bar_no + 1, beat - start, bar))
    return notes


def chord(symbol):
    """'F#m' -> (pitch class 6, third 3, no seventh); 'A7' -> (9, 4, True)."""
    root = NOTE_NAMES[symbol[0]]
    rest = symbol[1:]
    if rest.startswith("#"):
        root, rest = root + 1, rest[1:]
    elif rest.startswith("b"):
        root, rest = root - 1, rest[1:]
    minor = rest.startswith("m")
    return root % 12, 3 if minor else 4, rest.endswith("7")


def place(pc, low):
    """The note of pitch class pc in the octave starting at midi number low."""
    return low + (pc - low) % 12


KNEE = 0.6
# The music sits under the effects: the output adds them up with no volume control of its own,
# so a loop peaks well below the effects and leaves them room.
MUSIC_PEAK = 0.5


def soft_knee(data, knee):
    """Leaves samples below the knee alone and bends larger ones smoothly toward full scale:
    the slope is continuous at the knee, so quiet material is not coloured."""
    room = 1.0 - knee
    out = []
    ap = out.append
    for v in data:
        a = abs(v)
        if a <= knee:
            ap(v)
        else:
            c = knee + room * math.tanh((a - knee) / room)
            ap(c if v > 0 else -c)
    return out


class Song:
    def __init__(self, bpm, bars, beats_per_bar=4):
        spb = RATE * 60 / bpm
        if spb != int(spb):
            raise ValueError("a beat must be a whole number of samples")
        self.spb = int(spb)
        self.bars = bars
        self.beats_per_bar = beats_per_bar
        self.length = bars * beats_per_bar * self.spb
        self.dry = [0.0] * self.length
        self.send = [0.0] * self.length

    def at(self, beat):
        return int(round(beat * self.spb))

    def note(self, inst, midi, beat, beats, gain, send=0.0, legato=0.92, vel=1.0):
        data = instrument(inst, midi, max(1, int(beats * self.spb * legato)), vel)
        mix_into(self.dry, self.at(beat), data, gain, wrap=True)
        if send:
            mix_into(self.send, self.at(beat), data, gain * send, wrap=True)

    def hit(self, data, beat, gain, send=0.0):
        mix_into(self.dry, self.at(beat), data, gain, wrap=True)
        if send:
            mix_into(self.send, self.at(beat), data, gain * send, wrap=True)

    def render(self, wet, level, drive=1.0):
        """Dry mix plus reverb, the rare drum peaks rounded off by a soft knee (drive sets how
        far the mix is pushed into it), then scaled to the given peak."""
        out = self.dry
        if wet:
            mix_into(out, 0, reverb_loop(self.send, secs(3.0)), wet)
        out = soft_knee(normalise(out, drive), KNEE)
        return normalise(out, level)


def title_theme():
    """A light fantasy air in D major: flute over harp arpeggios, strings and a bell."""
    s = Song(bpm=105, bars=16)
    chords = "D Bm G A D Bm Em A G A F#m Bm G A Em A7".split()
    melody = parse_line(
        "F#5:1.5 E5:0.5 D5:1 A4:1 | B4:1.5 C#5:0.5 D5:1 F#5:1 | G5:1.5 F#5:0.5 D5:1 B4:1 |"
        " C#5:1.5 D5:0.5 E5:2 | F#5:1.5 E5:0.5 D5:1 A5:1 | B5:1.5 A5:0.5 F#5:1 D5:1 |"
        " G5:1.5 F#5:0.5 E5:1 B4:1 | C#5:1 E5:1 A5:2 | B5:1.5 A5:0.5 G5:1 D5:1 |"
        " C#5:1.5 D5:0.5 E5:1 A5:1 | A5:1.5 G5:0.5 F#5:1 C#5:1 | D5:1.5 E5:0.5 F#5:2 |"
        " G5:1 B5:1 D6:1 B5:1 | C#6:1.5 B5:0.5 A5:1 E5:1 | G5:1.5 F#5:0.5 E5:1 G5:1 |"
        " E5:1 C#5:1 A4:1 E5:1")
    for beat, m, d in melody:
        s.note("flute", m, beat, d, 0.30, send=0.35)
        bar = int(beat // 4)
        if beat % 4 == 0 and bar in (4, 5, 6, 7, 12, 13, 14, 15):
            s.note("bell", m + 12, beat, d, 0.07, send=0.5)
    for bar, sym in enumerate(chords):
        root, third, seventh = chord(sym)
        base = bar * 4
        r = place(root, 50)
        arp = [0, 7, 12, 12 + third, 22 if seventh else 19, 12 + third, 12, 7]
        for k, iv in enumerate(arp):
            s.note("harp", r + iv, base + 0.5 * k, 0.5, 0.15 if k == 0 else 0.12, send=0.45)
        for pc in (root, root + third, root + 7):
            s.note("pad", place(pc % 12, 57), base, 4, 0.07, send=0.5, legato=1.0)
        b = place(root, 38)
        s.note("soft_bass", b, base, 2, 0.22)
        s.note("soft_bass", b + 7 if b + 7 <= 49 else b - 5, base + 2, 2, 0.2)
    return s.render(wet=0.9, level=MUSIC_PEAK, drive=1.1)


def board_theme():
    """An easy walk in G major: marimba, then ocarina, over a walking bass and a light shaker."""
    s = Song(bpm=120, bars=16)
    chords = "G Em C D G Em Am D C D Bm Em C D Am D7".split()
    melody = parse_line(
        "D5:1.5 B4:0.5 G4:1 B4:1 | E5:1.5 D5:0.5 B4:2 | C5:1 E5:1 G5:1.5 E5:0.5 |"
        " F#5:2 D5:1 A4:1 | D5:1.5 B4:0.5 G4:1 B4:1 | E5:1.5 F#5:0.5 G5:2 |"
        " A5:1 G5:0.5 E5:0.5 C5:1 E5:1 | D5:3 r:1 | E5:1.5 D5:0.5 C5:1 G4:1 |"
        " A4:1 D5:1 F#5:1.5 E5:0.5 | D5:1.5 E5:0.5 F#5:1 B4:1 | G5:1.5 F#5:0.5 E5:2 |"
        " E5:1 G5:1 C6:1.5 B5:0.5 | A5:1 F#5:1 D5:2 | C5:1 E5:1 A5:1 G5:1 |"
        " F#5:1.5 E5:0.5 D5:1 C5:1")
    for beat, m, d in melody:
        if beat < 32:
            s.note("marimba", m, beat, d, 0.34, send=0.3)
        else:
            s.note("ocarina", m, beat, d, 0.26, send=0.35, legato=0.9)
            s.note("marimba", m - 12, beat, d, 0.08, send=0.2)
    shaker = drum_shaker()
    kick = drum_soft_kick()
    for bar, sym in enumerate(chords):
        root, third, seventh = chord(sym)
        base = bar * 4
        r = place(root, 40)
        for k, iv in enumerate((0, 7, 12, 7)):
            s.note("walk_bass", r + iv, base + k, 1, 0.3 if k == 0 else 0.24, legato=0.8)
        tones = [root, root + third, root + 7] + ([root + 10] if seventh else [])
        for beat in (1, 3):
            for pc in tones:
                s.note("harp", place(pc % 12, 55), base + beat, 1, 0.055, send=0.3, legato=0.5)
        for pc in tones[:3]:
            s.note("pad", place(pc % 12, 60), base, 4, 0.035, send=0.6, legato=1.0)
        for k in range(8):
            s.hit(shaker, base + 0.5 * k, 0.09 if k % 2 else 0.05)
        s.hit(kick, base, 0.35)
        s.hit(kick, base + 2, 0.25)
    return s.render(wet=0.7, level=MUSIC_PEAK, drive=1.15)


def battle_theme():
    """A driving duel in A minor: drums, a pumping bass, an arpeggio riff and a pulse lead."""
    s = Song(bpm=150, bars=20)
    chords = "Am F G E Am F G Em Am F Dm E F G Em Am F G E E7".split()
    lead = parse_line(
        "A5:1.5 E5:0.5 A5:0.5 B5:0.5 C6:1 | A5:1.5 F5:0.5 C5:1 F5:1 |"
        " G5:1.5 D5:0.5 B4:1 D5:0.5 G5:0.5 | B5:1 A5:0.5 G5:0.5 E5:2 |"
        " A5:1.5 E5:0.5 A5:0.5 B5:0.5 C6:1 | C6:1.5 A5:0.5 F5:1 A5:1 |"
        " F5:1 A5:1 D6:1.5 C6:0.5 | B5:1 G#5:1 E5:2 |"
        " C6:2 A5:1 C6:1 | D6:2 B5:1 G5:1 | E6:1.5 D6:0.5 B5:1 G5:1 | A5:3 E5:1 |"
        " F5:1 A5:1 C6:1.5 A5:0.5 | D6:1.5 B5:0.5 G5:1 B5:1 | G#5:1.5 A5:0.5 B5:1 E6:1 |"
        " D6:1 B5:1 G#5:1 E5:1")
    for beat, m, d in lead:
        s.note("lead", m, beat + 16, d, 0.3, send=0.3, legato=0.9)
    kick, snare, hat, crash = drum_kick(), drum_snare(), drum_hat(), drum_crash()
    open_hat = drum_hat(seed=9, tau=0.07)
    toms = [drum_tom(f, seed=20 + k) for k, f in enumerate((196.0, 147.0, 110.0))]
    for bar, sym in enumerate(chords):
        root, third, seventh = chord(sym)
        base = bar * 4
        intro = bar < 4
        r = place(root, 33)
        for k in range(8):
            s.note("synth_bass", r + (12 if k % 2 else 0), base + 0.5 * k, 0.5,
                   0.3 if k % 2 == 0 else 0.24, legato=0.85)
        arp_root = place(root, 57)
        top = 12 + (10 if seventh else 7)
        arp = [0, 7, 12, 7, third, 7, top, 12]
        for k, iv in enumerate(arp):
            s.note("pluck_lead", arp_root + iv, base + 0.5 * k, 0.5, 0.22 if intro else 0.11,
                   send=0.25)
        for pc in (root, root + 7, root + 12):
            s.note("saw_pad", place(pc % 12, 45) + (12 if pc >= root + 12 else 0), base, 4,
                   0.07, send=0.3, legato=0.98)
        for beat in (0, 2, 2.5):
            s.hit(kick, base + beat, 0.5)
        if bar == len(chords) - 1:
            # The last bar rolls over the toms back into the top of the loop.
            s.hit(snare, base + 1, 0.45)
            for k in range(6):
                s.hit(toms[k // 2], base + 2 + 0.333 * k, 0.5, send=0.2)
        else:
            s.hit(snare, base + 1, 0.42, send=0.2)
            s.hit(snare, base + 3, 0.42, send=0.2)
        for k in range(8):
            if bar == len(chords) - 1 and k >= 4:
                break
            s.hit(open_hat if k == 7 else hat, base + 0.5 * k, 0.16 if k % 2 else 0.11)
        if bar in (0, 4, 12):
            s.hit(crash, base, 0.22, send=0.2)
    return s.render(wet=0.6, level=MUSIC_PEAK, drive=1.5)


MUSIC = [(14, title_theme), (15, board_theme), (16, battle_theme)]


# ---------------------------------------------------------------------------------------------
# WAVE output

def wave_bytes(samples):
    """RIFF WAVE: a 16-byte PCM "fmt " chunk and one "data" chunk, mono, 16-bit."""
    pcm = bytearray()
    for v in samples:
        q = int(math.floor(v * 32767.0 + 0.5))
        pcm += struct.pack("<h", max(-32767, min(32767, q)))
    fmt = struct.pack("<HHIIHH", 1, 1, RATE, RATE * 2, 2, 16)
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt
    body += b"data" + struct.pack("<I", len(pcm)) + bytes(pcm)
    return b"RIFF" + struct.pack("<I", len(body)) + body


def effect_samples(builder, level):
    data = normalise(builder(), level)
    return fade_edges(data, secs(0.0005), secs(0.004))


def main():
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--out", default=os.path.join(root, "content", "sounds"))
    ap.add_argument("--only", type=int, action="append", help="make only these indices")
    args = ap.parse_args()
    os.makedirs(args.out, exist_ok=True)
    jobs = [(i, lambda b=b, lv=lv: effect_samples(b, lv)) for i, b, lv in EFFECTS]
    jobs += MUSIC
    for index, make in jobs:
        if args.only and index not in args.only:
            continue
        data = wave_bytes(make())
        path = os.path.join(args.out, "sound_%02d.wav" % index)
        with open(path, "wb") as f:
            f.write(data)
        print("%s  %d bytes" % (path, len(data)))


if __name__ == "__main__":
    main()
