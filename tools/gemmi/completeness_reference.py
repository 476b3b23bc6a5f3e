#!/usr/bin/python3
"""Reference completeness figures of real data sets for the whole-run CIF test.

For each data set below: the measured reflections (SHELX hkl records up to 0 0 0, systematic
absences removed, as a run with ABSENT REJECT writes them), theta_max from the cell, theta_full
= min(theta_max, asin(0.6 lambda)), and in the Laue grouping (Friedel mates equivalent) and the
point-group grouping (Friedel mates apart): measured unique and complete-set counts to theta_max
and theta_full, plus acentric Laue-unique reflections with both Friedel mates measured against
the acentric Laue-unique reflections of the complete set. Orbits, absences and centric tests
come from gemmi's space-group operations; the Laue complete set is checked against
gemmi.count_reflections. gemmi is used here only, never by the build.

Run with the system Python that has gemmi:  /usr/bin/python3 tools/gemmi/completeness_reference.py
Writes tests/data/realdata/completeness_reference.tsv.
"""
import math
import os
import sys

import gemmi

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
DATA = os.path.join(ROOT, "tests", "data", "realdata")

# id, experiment file, reflection file, space group (gemmi name), Friedel mates kept apart
SETS = [
    ("cod2242045_p-1_crysalis", "cod2242045_p-1_crysalis.exp", "cod2242045_p-1_crysalis.hkl",
     "P -1", 0),
    ("cod1552546_c2c_ag", "cod1552546_c2c_ag.exp", "cod1552546_c2c_ag.hkl", "C 1 2/c 1", 0),
    ("sh2185_noflip", "sh2185_noflip.exp", "../../../examples/sh2185/sh2185.hkl",
     "P 21 21 21", 1),
    ("cod2240189_r-3c_merged", "cod2240189_r-3c_merged.exp", "cod2240189_r-3c_merged.hkl",
     "R -3 c:H", 0),
    ("nacl_fm-3m_crysalis", "nacl_fm-3m_crysalis.exp", "nacl_fm-3m_crysalis.hkl", "F m -3 m", 0),
]


def read_exp(path):
    cell = wave = None
    for line in open(path):
        if line.startswith("CELL"):
            cell = [float(x) for x in line.split()[1:7]]
        elif line.startswith("WAVEL"):
            wave = float(line.split()[2])
    return cell, wave


def read_hkl(path):
    out = []
    for line in open(path):
        h, k, l = int(line[0:4]), int(line[4:8]), int(line[8:12])
        if (h, k, l) == (0, 0, 0):
            break
        out.append((h, k, l))
    return out


def orbit_key(ops, hkl, friedel):
    images = [tuple(op.apply_to_hkl(list(hkl))) for op in ops.sym_ops]
    if friedel:
        images += [tuple(-x for x in im) for im in images]
    return min(images)


def box(cell, dmin):
    lim = [int(cell.parameters[i] / dmin) + 1 for i in range(3)]
    for h in range(-lim[0], lim[0] + 1):
        for k in range(-lim[1], lim[1] + 1):
            for l in range(-lim[2], lim[2] + 1):
                if (h, k, l) != (0, 0, 0) and cell.calculate_d([h, k, l]) >= dmin * (1 - 1e-9):
                    yield (h, k, l)


def near_limit(cell, dmin, hkls):
    return any(abs(cell.calculate_d(list(h)) - dmin) < 2e-5 * dmin and
               cell.calculate_d(list(h)) < dmin for h in hkls)


def figures(cell, sg, wave, measured):
    ops = sg.operations()
    present = [h for h in measured if not ops.is_systematically_absent(list(h))]
    theta_max = max(math.degrees(math.asin(wave / (2 * cell.calculate_d(list(h))))) for h in present)
    s = 0.6 * wave
    theta_full = min(theta_max, math.degrees(math.asin(s))) if s < 1 else theta_max
    d_max = wave / (2 * math.sin(math.radians(theta_max)))
    d_full = wave / (2 * math.sin(math.radians(theta_full)))
    row = [f"{theta_max:.4f}", f"{theta_full:.4f}"]
    complete = {}
    for friedel in (True, False):
        orbits = {}
        for h in box(cell, d_max):
            if ops.is_systematically_absent(list(h)):
                continue
            key = orbit_key(ops, h, friedel)
            orbits[key] = cell.calculate_d(list(key))
        complete[friedel] = orbits
    # The reflection that sets theta_max lies on the limit itself: counted, as in the program.
    if len(complete[True]) != gemmi.count_reflections(cell, sg, d_max * (1 - 1e-9)):
        sys.exit("orbit count and gemmi.count_reflections differ")
    if near_limit(cell, d_full, complete[False].keys()):
        sys.exit("a reflection lies within single-precision reach of theta_full")
    pg_measured = {orbit_key(ops, h, False) for h in present}
    laue_measured = {orbit_key(ops, h, True) for h in present}
    for friedel, meas in ((True, laue_measured), (False, pg_measured)):
        orbits = complete[friedel]
        m_full = sum(1 for k in meas if cell.calculate_d(list(k)) >= d_full * (1 - 1e-9))
        c_full = sum(1 for d in orbits.values() if d >= d_full * (1 - 1e-9))
        row += [str(len(meas)), str(len(orbits)), str(m_full), str(c_full)]
    # Friedel pairs among the acentric Laue-unique reflections.
    pairs_max = pairs_full = acentric_max = acentric_full = 0
    for key, d in complete[True].items():
        if ops.is_reflection_centric(list(key)):
            continue
        acentric_max += 1
        full = d >= d_full * (1 - 1e-9)
        acentric_full += full
        mate = tuple(-x for x in key)
        if orbit_key(ops, key, False) in pg_measured and orbit_key(ops, mate, False) in pg_measured:
            pairs_max += 1
            pairs_full += full
    row += [str(pairs_max), str(acentric_max), str(pairs_full), str(acentric_full)]
    return row


def main():
    out = os.path.join(DATA, "completeness_reference.tsv")
    with open(out, "w") as f:
        f.write("# gemmi " + gemmi.__version__ + ", tools/gemmi/completeness_reference.py\n")
        f.write("id\texp\thkl\tnoflip\ttheta_max\ttheta_full\t"
                "laue_max_measured\tlaue_max_possible\tlaue_full_measured\tlaue_full_possible\t"
                "pg_max_measured\tpg_max_possible\tpg_full_measured\tpg_full_possible\t"
                "pairs_max\tacentric_max\tpairs_full\tacentric_full\n")
        for ident, exp, hkl, sgname, noflip in SETS:
            cellp, wave = read_exp(os.path.join(DATA, exp))
            cell = gemmi.UnitCell(*cellp)
            sg = gemmi.SpaceGroup(sgname)
            row = figures(cell, sg, wave, read_hkl(os.path.join(DATA, hkl)))
            f.write("\t".join([ident, exp, hkl, str(noflip)] + row) + "\n")
            print(ident, row)


if __name__ == "__main__":
    main()
