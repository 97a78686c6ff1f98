#!/usr/bin/env python3
"""Checks a spectrum CSV of the program against an independent transform.

spectrum_oracle.py SAMPLES_CSV SPECTRUM_CSV CLOCK_HZ

SAMPLES_CSV is the program's render of the 65536 samples from accumulator 0 (its `value`
column); SPECTRUM_CSV its --spectrum render of the same wave and increment. The oracle is
a plain radix-2 transform in Python's double precision, written here, not the program's.
Levels are dB of a full-scale sine (amplitude 127.5): |X| / N at bins 0 and N / 2,
2 |X| / N elsewhere. Every bin the oracle puts above -150 dB must be a row within 0.01 dB;
every row must be such a bin or lie at or below -150 dB; no bin the oracle puts below
-200 dB may be a row. Prints the strongest rows and exits 1 naming the first fault.
"""
import cmath
import math
import sys

N = 65536


def fft(values):
    a = [complex(v) for v in values]
    j = 0
    for i in range(1, N):
        bit = N >> 1
        while j & bit:
            j ^= bit
            bit >>= 1
        j |= bit
        if i < j:
            a[i], a[j] = a[j], a[i]
    size = 2
    while size <= N:
        half = size // 2
        step = [cmath.exp(-2j * math.pi * k / size) for k in range(half)]
        for start in range(0, N, size):
            for k in range(half):
                t = a[start + k + half] * step[k]
                u = a[start + k]
                a[start + k] = u + t
                a[start + k + half] = u - t
        size *= 2
    return a


def level_db(x, k):
    scale = 1.0 if k in (0, N // 2) else 2.0
    amplitude = scale * abs(x) / N
    return -math.inf if amplitude == 0 else 20 * math.log10(amplitude / 127.5)


def fail(text):
    print("FAILED: " + text)
    sys.exit(1)


def main():
    samples_csv, spectrum_csv, clock = sys.argv[1], sys.argv[2], int(sys.argv[3])
    with open(samples_csv, newline="") as f:
        lines = f.read().split("\r\n")
    values = [int(line.split(",")[4]) for line in lines[1:] if line]
    if len(values) != N:
        fail(f"{samples_csv} holds {len(values)} samples, {N} wanted")
    oracle = fft(values)
    with open(spectrum_csv, newline="") as f:
        text = f.read()
    if not text.endswith("\r\n") or "\n" in text.replace("\r\n", ""):
        fail("the spectrum's lines do not all end in CR LF")
    rows = text.split("\r\n")[:-1]
    if rows[0] != "bin,frequency_hz,level_db":
        fail(f"header {rows[0]!r}")
    listed = {}
    for row in rows[1:]:
        bin_text, frequency, level = row.split(",")
        k = int(bin_text)
        if not 0 <= k <= N // 2 or k in listed:
            fail(f"row {row!r}: a bin out of 0..32768 or given twice")
        if len(level.split(".")[-1]) < 3:
            fail(f"row {row!r}: fewer than three decimals")
        if abs(float(frequency) - k * clock / N) > 1e-6:
            fail(f"row {row!r}: bin {k} lies at {k * clock / N} Hz")
        listed[k] = float(level)
    for k in range(N // 2 + 1):
        expected = level_db(oracle[k], k)
        if expected > -150:
            if k not in listed:
                fail(f"bin {k} at {expected:.3f} dB is not in the spectrum")
            if abs(listed[k] - expected) > 0.01:
                fail(f"bin {k}: {listed[k]:.3f} dB, the oracle {expected:.4f} dB")
        elif k in listed and (expected < -200 or listed[k] > -150):
            fail(f"bin {k} is a row at {listed[k]} dB, the oracle {expected} dB")
    strongest = sorted(listed.items(), key=lambda kv: -kv[1])[:4]
    shown = ", ".join(f"bin {k} {v:.3f} dB" for k, v in strongest)
    print(f"    {len(listed)} rows agree with the oracle; strongest: {shown}")


main()
