#!/usr/bin/env python3
"""Reference data for SPACEGROUP in every setting of gemmi's space-group table.

Writes tests/data/symmetry/settings.txt (run from the repository root with the system python
that has python3-gemmi: /usr/bin/python3 tools/gemmi/make_setting_reference.py). Every
setting of the table except those in rhombohedral axes (":R", which SPACEGROUP refuses) gives
three lines:

    setting <number> <xhm, blanks as "_"> order <n> centric <0|1> system <crystal system>
    rot <9 integers per operator>   the rotations of the group (centring left out), each row
                                    by row as it acts on positions; h' = h.R is an equivalent
    refl <h k l r1 r2 r3 a> ...     a fixed pseudo-random sample of reflections (seeded, so
                                    the file is the same on every run), each with gemmi's
                                    representative in its reciprocal asymmetric unit (Friedel
                                    mates merged) and a = 1 when the group declares it
                                    systematically absent

Indices are drawn from -9..9 with each index zero a quarter of the time, so that many
reflections lie on the planes that bound an asymmetric unit.

gemmi is a tool for making this file only; the program does not use it.
"""
import os
import random
import sys

import gemmi

SAMPLE = 30


def sample_indices(rng):
    out = []
    while len(out) < SAMPLE:
        hkl = [0 if rng.random() < 0.25 else rng.randint(-9, 9) for _ in range(3)]
        if hkl != [0, 0, 0]:
            out.append(hkl)
    return out


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "tests/data/symmetry"
    rng = random.Random(20231209)
    lines = ["# every setting of gemmi %s's table but rhombohedral axes" % gemmi.__version__]
    for sg in gemmi.spacegroup_table():
        if sg.ext == "R":
            continue
        ops = sg.operations()
        asu = gemmi.ReciprocalAsu(sg)
        rots = []
        for op in ops.sym_ops:
            rots.extend(v // gemmi.Op.DEN for row in op.rot for v in row)
        refl = []
        for hkl in sample_indices(rng):
            rep = asu.to_asu(hkl, ops)[0]
            absent = 1 if ops.is_systematically_absent(hkl) else 0
            refl.extend(hkl + list(rep) + [absent])
        lines.append("setting %d %s order %d centric %d system %s" % (
            sg.number, sg.xhm().replace(" ", "_"), len(list(ops)),
            1 if ops.is_centrosymmetric() else 0, sg.crystal_system_str()))
        lines.append("rot " + " ".join(map(str, rots)))
        lines.append("refl " + " ".join(map(str, refl)))
    with open(os.path.join(out, "settings.txt"), "w") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
