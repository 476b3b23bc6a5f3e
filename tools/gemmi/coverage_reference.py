#!/usr/bin/env python3
"""Reference counts of unique reflections for the coverage (completeness) tests.

Writes tests/data/coverage/*.tsv from gemmi's space-group tables (gemmi is used only here, never
by the build):

  space_groups.tsv        the 230 groups in gemmi's reference settings: operators as coordinate
                          triplets (centring translations as triplets of their own, as SYMOP
                          cards would give them) and as integers (rotation elements; translations
                          in 24ths), the Laue-class row of the program's Laue table and its
                          asymmetric-unit planes, and a cell of the group's crystal system
  space_group_counts.tsv  for every group at a few resolutions: the number of unique allowed
                          reflections with Friedel mates merged (gemmi.count_reflections) and
                          with them kept apart (point-group orbits, counted here by brute force
                          with gemmi's operators and absence test)
  laue_classes.tsv        the 12 Laue classes alone (operators without translations, as the LAUE
                          keyword builds them, with the class's planes): gemmi.count_reflections
                          of the class's centrosymmetric primitive group

Run with the system Python that has gemmi:  python3 tools/gemmi/coverage_reference.py
"""
import math
import os
import sys

import gemmi

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
OUT = os.path.join(ROOT, "tests", "data", "coverage")

DEN = gemmi.Op.DEN

# The program's Laue table: row -> (symbol, planes (a, b, c, d) meaning a*h + b*k + c*l >= d).
H, K, L, HK, KL, HL = (1, 0, 0, 0), (0, 1, 0, 0), (0, 0, 1, 0), (1, -1, 0, 0), (0, 1, -1, 0), (1, 0, -1, 0)
LAUE_TABLE = {
    1: ("-1", [L]),
    2: ("2/M", [H, K]),
    3: ("MMM", [H, K, L]),
    4: ("4/M", [H, K, L]),
    5: ("4/MMM", [L, K, HK]),
    6: ("-3", [H, K]),
    7: ("-3M1", [H, K, L]),
    8: ("-31M", [K, HK]),
    9: ("6/M", [H, K, L]),
    10: ("6/MMM", [HK, K, L]),
    11: ("M3", [HL, KL, L]),
    12: ("M3M", [L, KL, HK]),
}
# A centrosymmetric primitive group of each class, for the LAUE route.
LAUE_GROUP = {1: "P -1", 2: "P 1 2/m 1", 3: "P m m m", 4: "P 4/m", 5: "P 4/m m m", 6: "P -3",
              7: "P -3 m 1", 8: "P -3 1 m", 9: "P 6/m", 10: "P 6/m m m", 11: "P m -3",
              12: "P m -3 m"}

CELLS = {
    "triclinic": (7.1, 8.3, 9.2, 78.5, 84.3, 71.6),
    "monoclinic": (7.3, 9.1, 8.2, 90.0, 103.4, 90.0),
    "orthorhombic": (6.7, 8.9, 10.3, 90.0, 90.0, 90.0),
    "tetragonal": (7.4, 7.4, 9.8, 90.0, 90.0, 90.0),
    "trigonal": (7.6, 7.6, 9.4, 90.0, 90.0, 120.0),
    "hexagonal": (7.6, 7.6, 9.4, 90.0, 90.0, 120.0),
    "cubic": (8.6, 8.6, 8.6, 90.0, 90.0, 90.0),
}
WAVE = 1.5418
TTH_VALUES = (40.0, 75.0, 110.0)


def laue_row(sg):
    laue = sg.laue_str()
    rows = {"-1": 1, "2/m": 2, "mmm": 3, "4/m": 4, "4/mmm": 5, "-3": 6, "6/m": 9,
            "6/mmm": 10, "m-3": 11, "m-3m": 12}
    if laue in rows:
        return rows[laue]
    assert laue == "-3m", laue
    # -3m1 holds the two-fold y,x,-z of its generators; -31m holds the mirror y,x,z instead.
    rots = set()
    for op in sg.operations().sym_ops:
        rots.add(tuple(map(tuple, op.rot)))
        rots.add(tuple(tuple(-x for x in row) for row in op.rot))
    two_fold = gemmi.Op("y,x,-z").rot
    return 7 if tuple(map(tuple, two_fold)) in rots else 8


def d_min(wave, tth):
    return wave / (2.0 * math.sin(math.radians(tth) / 2.0))


def reflections(cell, dmin):
    """Every (h, k, l) != 0 with d >= dmin."""
    lim = [int(cell.parameters[i] / dmin) + 1 for i in range(3)]
    for h in range(-lim[0], lim[0] + 1):
        for k in range(-lim[1], lim[1] + 1):
            for l in range(-lim[2], lim[2] + 1):
                if (h, k, l) == (0, 0, 0):
                    continue
                if cell.calculate_d([h, k, l]) >= dmin:
                    yield (h, k, l)


def orbit_count(cell, sg, dmin, friedel):
    """Unique allowed reflections: orbits of the point group (with -1 added when friedel)."""
    ops = sg.operations()
    seen = set()
    for hkl in reflections(cell, dmin):
        if ops.is_systematically_absent(list(hkl)):
            continue
        images = [tuple(op.apply_to_hkl(list(hkl))) for op in ops.sym_ops]
        if friedel:
            images += [tuple(-x for x in im) for im in images]
        seen.add(min(images))
    return len(seen)


def margin_ok(cell, dmin):
    """No reflection within a relative 1e-4 of the limit: single precision decides alike."""
    lim = [int(cell.parameters[i] / dmin * 1.01) + 1 for i in range(3)]
    for h in range(-lim[0], lim[0] + 1):
        for k in range(-lim[1], lim[1] + 1):
            for l in range(-lim[2], lim[2] + 1):
                if (h, k, l) == (0, 0, 0):
                    continue
                if abs(cell.calculate_d([h, k, l]) - dmin) < 1e-4 * dmin:
                    return False
    return True


def safe_tth(cell, tth):
    while not margin_ok(cell, d_min(WAVE, tth)):
        tth += 0.05
    return round(tth, 2)


def fmt_cell(c):
    return " ".join(f"{x:g}" for x in c)


def op_text(op):
    """Rotation elements row by row, then the translation in 24ths."""
    return " ".join(str(x // DEN) for row in op.rot for x in row) + " " + \
        " ".join(str(t) for t in op.tran)


def reference_groups():
    groups = []
    for n in range(1, 231):
        groups.append(gemmi.find_spacegroup_by_number(n))
    return groups


def main():
    os.makedirs(OUT, exist_ok=True)
    assert DEN == 24
    groups = reference_groups()

    with open(os.path.join(OUT, "space_groups.tsv"), "w") as f:
        f.write("number\tname\tlaue_row\tcell\tsymop_cards\tops\tcentring\tplanes\n")
        for sg in groups:
            ops = sg.operations()
            cards = [op.triplet() for op in ops.sym_ops]
            for cen in ops.cen_ops[1:]:
                cards.append(gemmi.Op("x,y,z").translated(cen).triplet())
            rot_ops = [op_text(op) for op in ops.sym_ops]
            cen = [" ".join(str(t) for t in c) for c in ops.cen_ops]
            row = laue_row(sg)
            planes = ";".join(" ".join(map(str, p)) for p in LAUE_TABLE[row][1])
            cell = CELLS[sg.crystal_system_str()]
            f.write(f"{sg.number}\t{sg.xhm()}\t{row}\t{fmt_cell(cell)}\t{';'.join(cards)}\t"
                    f"{';'.join(rot_ops)}\t{';'.join(cen)}\t{planes}\n")

    with open(os.path.join(OUT, "space_group_counts.tsv"), "w") as f:
        f.write("number\twave\ttth\tfriedel_merged\tpoint_group\n")
        for sg in groups:
            cell = gemmi.UnitCell(*CELLS[sg.crystal_system_str()])
            for tth0 in TTH_VALUES:
                tth = safe_tth(cell, tth0)
                dmin = d_min(WAVE, tth)
                merged = gemmi.count_reflections(cell, sg, dmin)
                check = orbit_count(cell, sg, dmin, friedel=True)
                if merged != check:
                    sys.exit(f"gemmi and the orbit count differ for {sg.xhm()}: {merged} {check}")
                pg = orbit_count(cell, sg, dmin, friedel=False)
                f.write(f"{sg.number}\t{WAVE:g}\t{tth:g}\t{merged}\t{pg}\n")

    with open(os.path.join(OUT, "laue_classes.tsv"), "w") as f:
        f.write("row\tsymbol\tgroup\tcell\twave\ttth\tcount\tplanes\tops\n")
        for row, (symbol, planes) in LAUE_TABLE.items():
            sg = gemmi.SpaceGroup(LAUE_GROUP[row])
            assert laue_row(sg) == row, (row, sg.xhm())
            cell_params = CELLS[sg.crystal_system_str()]
            cell = gemmi.UnitCell(*cell_params)
            for wave, tth0 in ((WAVE, 60.0), (WAVE, 120.0), (0.7093, 45.0)):
                tth = tth0
                while not margin_ok(cell, d_min(wave, tth)):
                    tth += 0.05
                tth = round(tth, 2)
                count = gemmi.count_reflections(cell, sg, d_min(wave, tth))
                plane_text = ";".join(" ".join(map(str, p)) for p in planes)
                f.write(f"{row}\t{symbol}\t{sg.xhm()}\t{fmt_cell(cell_params)}\t{wave:g}\t{tth:g}\t"
                        f"{count}\t{plane_text}\t{';'.join(op_text(op) for op in sg.operations().sym_ops)}\n")


if __name__ == "__main__":
    main()
