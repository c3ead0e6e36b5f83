#!/usr/bin/env python3
"""Checks the main job's demo: four sections of four bars at 120 BPM, each a different factory pattern
with hits on the sixteenth-note grid, at a healthy level and never clipped. Usage: check_demo.py DEMO.wav"""
import math
import struct
import sys
import wave

with wave.open(sys.argv[1]) as w:
    n, ch, rate = w.getnframes(), w.getnchannels(), w.getframerate()
    data = struct.unpack("<%dh" % (n * ch), w.readframes(n))

level = [max(abs(data[i * ch + c]) for c in range(ch)) / 32768.0 for i in range(n)]
sixteenth = int(rate * 60 / 120 / 4)
ok = n == 4 * 64 * sixteenth and ch == 2
peak = max(level)
clipped = sum(1 for v in level if v >= 32767 / 32768)
print(f"{n} frames, {ch} channels, peak {peak:.3f}, {clipped} clipped samples")
ok = ok and 0.1 < peak and clipped == 0
grids = []

for section in range(4):
    start = section * 64 * sixteenth
    part = level[start:start + 64 * sixteenth]
    rms = math.sqrt(sum(v * v for v in part) / len(part))
    # A hit: the first 2 ms after a sixteenth louder than twice the 20 ms before it.
    grid = ""
    for k in range(64):
        a = start + k * sixteenth
        now = max(level[a:a + rate // 500])
        before = max(level[max(0, a - rate // 50):a], default=0.0)
        grid += "x" if now > 0.02 and now > 2 * before else "."
    hits = grid.count("x")
    print(f"section {section + 1}: rms {20 * math.log10(rms + 1e-12):.1f} dBFS, hits {grid}")
    ok = ok and -40 < 20 * math.log10(rms + 1e-12) < -6 and hits >= 16
    grids.append(grid)

ok = ok and len(set(grids)) == 4
sys.exit(0 if ok else 1)
