#!/usr/bin/env python3
"""Reference data for the symmetry tests, taken from gemmi's space-group tables.

Writes two files into tests/data/symmetry/ (run from the repository root, with the system
python that has python3-gemmi):

space_groups.txt   three lines per space group (all 230, gemmi's reference setting: origin
                   at the inversion centre where there are two origins, hexagonal axes for R):
    group <number> <name> order <n> centric <0|1> laue <row of the Laue table>
    ops <triplet> ...        every operator of the group, centring translations included
    absent <hex>             systematic absences over h, k, l = -8..8 (h outermost, l
                             innermost), bit i of the sequence set when triple i is absent;
                             the hex string is read as one big number, most significant first
laue_orbits.txt    one line per row of the Laue table: <row> <symbol> followed by one label
                   per triple h, k, l = -8..8 in the same order; two triples carry the same
                   label exactly when gemmi maps them to the same reflection of its
                   reciprocal asymmetric unit (Friedel mates merged)

gemmi is a tool for making these files only; the program does not use it.
"""
import os
import sys

import gemmi

N = 8
TRIPLES = [(h, k, l) for h in range(-N, N + 1) for k in range(-N, N + 1) for l in range(-N, N + 1)]

# Row of the Laue table -> a space group of that class in its reference setting.
LAUE_ROWS = [
    (1, "-1", 2), (2, "2/M", 10), (3, "MMM", 47), (4, "4/M", 83), (5, "4/MMM", 123),
    (6, "-3", 147), (7, "-3M1", 164), (8, "-31M", 162), (9, "6/M", 175), (10, "6/MMM", 191),
    (11, "M3", 200), (12, "M3M", 221),
]


def reference_groups():
    chosen = {}
    for sg in gemmi.spacegroup_table():
        n = sg.number
        if n not in chosen or (sg.is_reference_setting() and not chosen[n].is_reference_setting()):
            chosen[n] = sg
    return [chosen[n] for n in range(1, 231)]


def orbit_labels(sg):
    """Label per triple: the first-appearance number of its ASU-reduced index."""
    ops = sg.operations()
    asu = gemmi.ReciprocalAsu(sg)
    seen = {}
    labels = []
    for hkl in TRIPLES:
        red = tuple(asu.to_asu(list(hkl), ops)[0])
        labels.append(seen.setdefault(red, len(seen)))
    return labels


def absent_hex(sg):
    ops = sg.operations()
    bits = 0
    for i, hkl in enumerate(TRIPLES):
        if ops.is_systematically_absent(list(hkl)):
            bits |= 1 << i
    return format(bits, "x")


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "tests/data/symmetry"
    os.makedirs(out, exist_ok=True)
    laue_labels = {}
    with open(os.path.join(out, "laue_orbits.txt"), "w") as f:
        f.write("# orbits of h,k,l = -8..8 per Laue class, from gemmi %s\n" % gemmi.__version__)
        for row, symbol, number in LAUE_ROWS:
            labels = orbit_labels(gemmi.find_spacegroup_by_number(number))
            laue_labels[row] = labels
            f.write("%d %s %s\n" % (row, symbol, " ".join(map(str, labels))))
    with open(os.path.join(out, "space_groups.txt"), "w") as f:
        f.write("# 230 space groups, reference settings, from gemmi %s\n" % gemmi.__version__)
        for sg in reference_groups():
            ops = sg.operations()
            labels = orbit_labels(sg)
            rows = [row for row, lab in laue_labels.items() if lab == labels]
            if len(rows) != 1:
                raise SystemExit("no single Laue row for %s" % sg.xhm())
            f.write("group %d %s order %d centric %d laue %d\n" % (
                sg.number, sg.xhm().replace(" ", "_"), len(list(ops)),
                1 if ops.is_centrosymmetric() else 0, rows[0]))
            f.write("ops %s\n" % " ".join(op.triplet() for op in ops))
            f.write("absent %s\n" % absent_hex(sg))


if __name__ == "__main__":
    main()
