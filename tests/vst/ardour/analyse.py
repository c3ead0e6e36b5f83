#!/usr/bin/env python3
"""Checks the two exports: hits where the notes were; before the mode change upright with the long decay,
after it upside down; after reopening every hit upside down with the short decay."""
import struct
import sys
import wave


def read(path):
    with wave.open(path) as w:
        n, ch, width, rate = w.getnframes(), w.getnchannels(), w.getsampwidth(), w.getframerate()
        raw = w.readframes(n)
    if width != 2:
        sys.exit(f"{path}: {8 * width}-bit samples not expected")
    data = struct.unpack("<%dh" % (n * ch), raw)
    return [data[i * ch] / 32768.0 for i in range(n)], rate


def hits(samples, rate, times):
    """For each note time: (onset seconds, polarity, decay seconds) of the hit found there, or None.
    A hit reaches half scale within a quarter period of its start (the export is normalised). The export
    comes a few milliseconds late as a whole (resampling), so each hit is looked for up to 10 ms late."""
    found = []
    window = int(0.01 * rate)
    for t in times:
        start, end = int((t - 0.001) * rate), int((t + 0.010) * rate)
        onset = next((i for i in range(start, end) if abs(samples[i]) > 0.5), None)
        if onset is None:
            found.append(None)
            continue
        top = max(abs(v) for v in samples[onset:onset + window])
        k = onset
        while k < len(samples) and max(abs(v) for v in samples[k:k + window]) > top / 4:
            k += window
        found.append((onset / rate, 1 if samples[onset] > 0 else -1, (k - onset) / rate))
    return found


def stray(samples, rate, times):
    """Loud samples that no note explains."""
    for i, v in enumerate(samples):
        if abs(v) > 0.5 and not any(-0.001 <= i / rate - t < 0.3 for t in times):
            return i / rate
    return None


def check(name, samples, rate, expected):
    times = [e[0] for e in expected]
    got = hits(samples, rate, times)
    extra = stray(samples, rate, times)
    ok = extra is None and all(
        g is not None and g[1] == e[1] and e[2][0] <= g[2] <= e[2][1] for g, e in zip(got, expected))
    if ok:
        # The same delay for every hit: each one sits exactly where its note was.
        delays = [g[0] - t for g, t in zip(got, times)]
        ok = max(delays) - min(delays) < 0.0005
    print(f"{name}: " + ", ".join("missing" if g is None else f"{g[0]:.4f}s {'+' if g[1] > 0 else '-'} decay {g[2]:.3f}s"
                                  for g in got) + ("" if extra is None else f"; a stray hit at {extra:.4f}s"))
    return ok


first, rate1 = read(sys.argv[1])
second, rate2 = read(sys.argv[2])
long_decay, short_decay = (0.25, 0.5), (0.02, 0.12)
ok = check("first", first, rate1, [(0.5, 1, long_decay), (1.0, 1, long_decay), (1.5, -1, long_decay), (2.0, -1, long_decay)])
ok = check("reopened", second, rate2, [(t, -1, short_decay) for t in (0.5, 1.0, 1.5, 2.0)]) and ok
sys.exit(0 if ok else 1)
