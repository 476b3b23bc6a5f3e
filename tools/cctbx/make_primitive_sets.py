#!/usr/bin/python3
"""Real data sets of centred lattices moved to their Niggli-reduced primitive cells.

For the C-centred monoclinic set COD 1552546 (C 1 2/c 1) and the F-centred cubic CaF2 set
(both in tests/data/realdata, origins in its SOURCES.md): cctbx gives the change of basis from
the published cell to the Niggli cell; each SHELX record's indices are transformed by it and
the record is written again with its intensity, sigma and batch columns verbatim. A record
of a reflection the centring forbids has no integral indices in the primitive cell and is left
out (the count is printed). Each set gets an experiment file with the
primitive cell and the wavelength only.

It also prints, for the unit test of the conventional-cell search, the Niggli cells of a
conventional cell of every centred Bravais type (the rows of kPrimitiveCells).

Run with the system Python that has cctbx:  /usr/bin/python3 tools/cctbx/make_primitive_sets.py
Writes tests/data/symmetry_analysis/primitive/.
"""
import os

from cctbx import crystal, sgtbx
from cctbx.array_family import flex

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
REAL = os.path.join(ROOT, "tests", "data", "realdata")
OUT = os.path.join(ROOT, "tests", "data", "symmetry_analysis", "primitive")

# id, space group, cell, wavelength (from the experiment files of tests/data/realdata)
SETS = [
    ("cod1552546_c2c_ag", "C 1 2/c 1", (5.18750, 9.0047, 20.0217, 90, 95.7520, 90), "0.56086"),
    ("caf2_fm-3m_ag_crysalis", "F m -3 m", (5.45095, 5.45095, 5.45095, 90, 90, 90), "0.56087"),
]


def convert(name, group, cell, wavelength):
    cs = crystal.symmetry(unit_cell=cell, space_group_symbol=group)
    cb = cs.change_of_basis_op_to_niggli_cell()
    primitive = cs.unit_cell().change_basis(cb)
    # The centring alone: the reflections it forbids have no integral indices in the
    # primitive cell.
    lattice = sgtbx.space_group(group[0] + " 1")  # a Hall symbol
    records, left_out = [], 0
    for line in open(os.path.join(REAL, name + ".hkl")):
        h, k, l = int(line[0:4]), int(line[4:8]), int(line[8:12])
        if (h, k, l) == (0, 0, 0):
            break
        if lattice.is_sys_absent((h, k, l)):
            left_out += 1
            continue
        hkl = cb.apply(flex.miller_index([(h, k, l)]))[0]
        records.append("%4d%4d%4d%s" % (hkl[0], hkl[1], hkl[2], line[12:].rstrip("\n")))
    os.makedirs(OUT, exist_ok=True)
    with open(os.path.join(OUT, name + "_primitive.hkl"), "w") as f:
        f.write("\n".join(records) + "\n   0   0   0    0.00    0.00\n")
    p = primitive.parameters()
    with open(os.path.join(OUT, name + "_primitive.exp"), "w") as f:
        f.write("TITLE  %s on its Niggli cell (%s, change of basis %s)\n"
                % (name, group, cb.as_hkl()))
        f.write("CELL  %.5f %.5f %.5f %.4f %.4f %.4f\n" % tuple(p))
        f.write("WAVEL 1 %s\n" % wavelength)
    print("%s: %s -> %s, %d records, %d left out (forbidden by the centring)"
          % (name, group, cb.as_hkl(), len(records), left_out))


# Conventional cells of every centred Bravais type, for the unit test.
CELLS = [
    ("mC", "C 1 2/m 1", (9.1, 6.3, 10.4, 90, 104.5, 90)),
    ("oC", "C m m m", (5.2, 11.3, 14.1, 90, 90, 90)),
    ("oI", "I m m m", (5.2, 11.3, 14.1, 90, 90, 90)),
    ("oF", "F m m m", (5.2, 11.3, 14.1, 90, 90, 90)),
    ("tI", "I 4/m m m", (5.2, 5.2, 12.6, 90, 90, 90)),
    ("hR", "R -3 m:H", (6.1, 6.1, 17.3, 90, 90, 120)),
    ("cI", "I m -3 m", (6.4, 6.4, 6.4, 90, 90, 90)),
    ("cF", "F m -3 m", (5.64, 5.64, 5.64, 90, 90, 90)),
]


# Synthetic sets of centred groups (tests/data/symmetry_analysis/synthetic): the change of
# basis to the Niggli cell as the matrix Q with h_primitive = Q h / 6 (rows of six times the
# rational matrix, found from the images of 6 (1 0 0), 6 (0 1 0), 6 (0 0 1), which every
# centring allows), for the rows of kSyntheticSets.
SYNTHETIC = ["C12_c1", "I12_a1", "Cmc21", "Fdd2", "I4_mmm", "I41_a_2", "Fmm3m", "Iam3",
             "Im43d", "R3c_H", "Rm3_H"]


def synthetic_rows():
    folder = os.path.join(ROOT, "tests", "data", "symmetry_analysis", "synthetic")
    for name in SYNTHETIC:
        lines = open(os.path.join(folder, name + ".txt")).read().splitlines()
        group = lines[0][2:].strip()
        cell = tuple(float(v) for v in lines[1].split()[1:7])
        cs = crystal.symmetry(unit_cell=cell, space_group_symbol=group)
        cb = cs.change_of_basis_op_to_niggli_cell()
        cols = cb.apply(flex.miller_index([(6, 0, 0), (0, 6, 0), (0, 0, 6)]))
        q = [cols[j][i] for i in range(3) for j in range(3)]
        p = cs.unit_cell().change_basis(cb).parameters()
        print('      {"%s.txt", "%s", {%s}, {%.6f, %.6f, %.6f, %.6f, %.6f, %.6f}},'
              % ((name, group, ", ".join(str(v) for v in q)) + tuple(p)))


def main():
    for s in SETS:
        convert(*s)
    synthetic_rows()
    for kind, group, cell in CELLS:
        cs = crystal.symmetry(unit_cell=cell, space_group_symbol=group)
        p = cs.niggli_cell().unit_cell().parameters()
        print('      {"%s", "%s", {%.6f, %.6f, %.6f, %.6f, %.6f, %.6f}, {%g, %g, %g, %g, %g, %g}},'
              % ((kind, group[0]) + tuple(p) + tuple(cell)))


if __name__ == "__main__":
    main()
