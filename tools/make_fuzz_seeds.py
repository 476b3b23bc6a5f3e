#!/usr/bin/env python3
"""Writes the small seed corpora of the fuzz targets (fuzz/corpus/) from the test data.

Run from the project root. Whole-run seeds are one selector byte, the experiment file, a NUL
byte and the first records of a reflection file (fuzz/fuzz_harness.hpp)."""
import pathlib

root = pathlib.Path(".")
out = root / "fuzz" / "corpus"
exps = sorted((root / "tests/data/realdata").glob("*.exp")) + sorted((root / "tests/data/exp").glob("*.exp")) \
    + [root / "examples/sh2185/sh2185.exp"]
hkls = sorted((root / "tests/data/realdata").glob("*.hkl")) + [root / "examples/sh2185/sh2185.hkl"]


def head(path, n):
    return b"".join(path.read_bytes().splitlines(keepends=True)[:n])


def zezor(h, k, l, f, s, aux, angles):
    return b"%3d%3d%3d%10.3f%6.3f%10.5f%10s" % (h, k, l, f, s, aux, b"") + \
        b"".join(b"%7.2f" % a for a in angles) + b"\n"


zezor_text = zezor(1, 0, 0, 10.0, 0.5, 0.1, (12.3, 1.0, 2.0, 3.0)) + \
    zezor(-1, 0, 0, 10.4, 0.5, 0.1, (12.3, 1.5, 2.5, 1.0)) + \
    zezor(2, 1, 3, 4.0, 0.2, 0.0, (30.1, 0.0, 0.0, 0.0))

seeds = {"exp_file": {}, "records": {}, "numbers": {}, "run": {}, "writers": {}}
for p in exps:
    seeds["exp_file"][p.stem] = p.read_bytes()
for p in hkls:
    seeds["records"][p.stem] = head(p, 20)
seeds["records"]["zezor"] = zezor_text
for i, text in enumerate([b"  12", b"-3.25", b"1.5E3", b"  .5D-2", b"1,2,,3*4.5/", b"2*,7 -1e38 9"]):
    seeds["numbers"]["n%d" % i] = bytes([i * 37 % 256]) + text
# Copper radiation keeps the cells of the seeds within the cell bound of the whole-run target.
cu = b"WAVEL 1 1.5418\n"
for i, (e, h) in enumerate(zip(exps, hkls * 2)):
    seeds["run"][e.stem] = bytes([1 | (i & 2)]) + e.read_bytes().rstrip(b"\n") + b"\n" + cu + b"\0" + head(h, 60)
seeds["run"]["zezor"] = bytes([0]) + exps[0].read_bytes() + cu + b"\0" + zezor_text

# The writers' target takes its figures and texts from the bytes in turn: a few fixed patterns
# (all flags, a long title with a character at its end, Latin-1 and markup in the texts) and a
# pseudo-random one.
import random
rng = random.Random(25)
seeds["writers"]["flags"] = bytes([0xFF]) + b"no shells\0" + bytes(range(1, 255))
seeds["writers"]["texts"] = bytes([0x07, 0]) + bytes([8] * 40) + \
    ("x" * 72 + "\u20ac").encode() + b"\0caf\xe9<b>&\0" + bytes(300)
seeds["writers"]["random"] = bytes(rng.randrange(256) for _ in range(2000))
for target, files in seeds.items():
    d = out / target
    d.mkdir(parents=True, exist_ok=True)
    for name, data in files.items():
        (d / name).write_bytes(data)
