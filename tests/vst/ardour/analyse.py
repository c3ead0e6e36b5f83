#!/usr/bin/env python3
"""Checks the two exports of the Ardour test: in each, one bass drum hit where each note was and no other
hit (a sequencer playing on its own would add some); after reopening, the shorter decay of the parameter
changed before saving."""
import struct
import sys
import wave

NOTES = (0.5, 1.0, 1.5, 2.0)


def read(path):
    with wave.open(path) as w:
        n, ch, width, rate = w.getnframes(), w.getnchannels(), w.getsampwidth(), w.getframerate()
        raw = w.readframes(n)
    if width != 2:
        sys.exit(f"{path}: {8 * width}-bit samples not expected")
    data = struct.unpack("<%dh" % (n * ch), raw)
    return [max(abs(data[i * ch + c]) for c in range(ch)) / 32768.0 for i in range(n)], rate


def envelope(samples, window):
    return [max(samples[i:i + window]) for i in range(0, len(samples), window)]


def onsets(samples, rate):
    """Times where the level jumps: a 2 ms window at least four times louder than the 20 ms before it and
    louder than a tenth of the loudest sample."""
    window = int(0.002 * rate)
    env = envelope(samples, window)
    top = max(env) if env else 0.0
    found = []
    for k in range(len(env)):
        before = max(env[max(0, k - 10):k], default=0.0)
        if env[k] > 0.1 * top and env[k] > 4 * before:
            if not found or k * window / rate - found[-1] > 0.05:
                found.append(k * window / rate)
    return found


def decay(samples, rate, t):
    """Seconds from the hit at t until its 10 ms level falls below a twentieth of its peak."""
    window = int(0.01 * rate)
    start = int(t * rate)
    env = envelope(samples[start:start + int(0.45 * rate)], window)
    top = max(env)
    return next((k for k, v in enumerate(env) if k > 0 and v < top / 20), len(env)) * window / rate


def check(name, samples, rate):
    found = onsets(samples, rate)
    # Ardour delays the export as a whole by a few milliseconds; every hit by the same amount.
    delays = [min((f - t for f in found if 0 <= f - t < 0.02), default=None) for t in NOTES]
    ok = len(found) == len(NOTES) and None not in delays and max(delays) - min(delays) < 0.003
    decays = [decay(samples, rate, t) for t in NOTES]
    print(f"{name}: onsets {', '.join(f'{f:.3f}' for f in found)}; decays {', '.join(f'{d:.3f}' for d in decays)}")
    return ok, decays


first, rate1 = read(sys.argv[1])
second, rate2 = read(sys.argv[2])
ok1, decays1 = check("first", first, rate1)
ok2, decays2 = check("reopened", second, rate2)
shorter = max(decays2) < 0.8 * min(decays1)
if not shorter:
    print("the decay after reopening is not the shorter one set before saving")
sys.exit(0 if ok1 and ok2 and shorter else 1)
