#!/usr/bin/python3
# Synthetic unmerged data for the symmetry-analysis tests, made once and committed.
#
# For each group: a random small structure (12 to 40 light atoms at random general positions
# in the asymmetric unit, enough for random-like intensity statistics) in a cell of the
# group's crystal system with edges far from any higher metric symmetry,
# intensities |F|^2 from gemmi's X-ray structure-factor calculator (the systematic absences
# come from the structure itself), every reflection to d = 1.05 A (cubic 1.25 A) kept with probability 0.75
# and measured once or twice with Gaussian noise (sigma^2 = (0.03 I)^2 + 2 I + (0.005 <I>)^2).
# One set is a 50 % merohedral twin of P 4 by the twin law k,h,-l.
#
# Run with Debian's python3 and gemmi (0.5.7): /usr/bin/python3 make_synthetic.py
# It rewrites synthetic/*.txt; the seed is fixed, so the files come out the same.
import math
import os
import random

import gemmi

GROUPS = [
    # triclinic
    "P 1", "P -1",
    # monoclinic (unique axis b and c, several cell choices)
    "P 1 21 1", "P 1 21/c 1", "P 1 21/n 1", "C 1 2/c 1", "P 1 c 1", "I 1 2/a 1",
    "P 1 1 21/b", "C 1 2/m 1", "P 1 21/m 1",
    # orthorhombic
    "P 21 21 21", "P 21 21 2", "P b c a", "P n m a", "P n a 21", "P c c n", "F d d 2",
    "P c a b", "P b n m", "C m c 21", "P b c n",
    # tetragonal
    "I 41/a :2", "P -4 21 c", "P 42/n :2", "I 4/m m m", "P 41 21 2",
    # trigonal
    "R -3 :H", "P -3 1 c", "P 31 2 1", "R 3 c :H",
    # hexagonal
    "P 63/m", "P 63/m m c", "P 6 c c", "P 61 2 2",
    # cubic
    "P a -3", "F m -3 m", "I -4 3 d", "P 21 3", "I a -3",
]

D_MIN = 1.05
D_MIN_CUBIC = 1.25


def cell_for(sg, rnd):
    # Edges far enough apart that the lattice has no more metric symmetry than the group.
    system = sg.crystal_system_str()
    a = rnd.uniform(6.5, 8.0)
    if system == "triclinic":
        return [a, a * 1.15, a * 1.35, rnd.uniform(75, 85), rnd.uniform(95, 105), rnd.uniform(100, 110)]
    if system == "monoclinic":
        angles = [90.0, 90.0, 90.0]
        axis = {"b": 1, "c": 2, "a": 0}[sg.qualifier[0] if sg.qualifier else "b"]
        angles[axis] = rnd.uniform(95, 110)
        return [a, a * 1.15, a * 1.35] + angles
    if system == "orthorhombic":
        return [a, a * 1.2, a * 1.45, 90, 90, 90]
    if system == "tetragonal":
        return [a * 1.2, a * 1.2, a * 1.5, 90, 90, 90]
    if system in ("trigonal", "hexagonal"):
        return [a * 1.2, a * 1.2, a * 1.6, 90, 90, 120]
    return [a * 1.45, a * 1.45, a * 1.45, 90, 90, 90]


def structure(sg, cell, rnd):
    s = gemmi.SmallStructure()
    s.cell = gemmi.UnitCell(*cell)
    s.spacegroup_hm = sg.xhm()
    order = len(sg.operations())
    n = max(12, min(40, math.ceil(s.cell.volume / 10.0 / order)))
    for i in range(n):
        site = gemmi.SmallStructure.Site()
        el = rnd.choice(["C", "C", "C", "N", "O"])
        site.label = el + str(i + 1)
        site.type_symbol = el
        site.element = gemmi.Element(el)
        site.fract = gemmi.Fractional(rnd.random(), rnd.random(), rnd.random())
        site.occ = 1.0
        site.u_iso = 0.02
        s.add_site(site)
    s.setup_cell_images()
    return s


def intensities(s, hkls):
    calc = gemmi.StructureFactorCalculatorX(s.cell)
    return {h: abs(calc.calculate_sf_from_small_structure(s, list(h))) ** 2 for h in hkls}


def reflections(cell, d_min):
    uc = gemmi.UnitCell(*cell)
    lim = [int(cell[i] / d_min) + 1 for i in range(3)]
    out = []
    for h in range(-lim[0], lim[0] + 1):
        for k in range(-lim[1], lim[1] + 1):
            for l in range(-lim[2], lim[2] + 1):
                if (h, k, l) != (0, 0, 0) and uc.calculate_d([h, k, l]) >= d_min:
                    out.append((h, k, l))
    return out


def measure(true, rnd):
    mean = sum(true.values()) / len(true)
    scale = 1000.0 / mean
    lines = []
    for h in sorted(true):
        if rnd.random() > 0.75:
            continue
        i = true[h] * scale
        for _ in range(rnd.choice([1, 2])):
            sigma = math.sqrt((0.03 * i) ** 2 + 2.0 * i + 5.0 ** 2)
            lines.append("%d %d %d %.0f %.1f" % (h[0], h[1], h[2], rnd.gauss(i, sigma), sigma))
    return lines


def write(name, title, cell, lines):
    with open(os.path.join("synthetic", name + ".txt"), "w") as f:
        f.write("# %s\n" % title)
        f.write("cell %s\n" % " ".join("%.4f" % x for x in cell))
        f.write("\n".join(lines) + "\n")


def file_name(symbol):
    return symbol.replace(" ", "").replace("/", "_").replace(":", "_").replace("-", "m")


def main():
    os.makedirs("synthetic", exist_ok=True)
    rnd = random.Random(20231)
    for symbol in GROUPS:
        sg = gemmi.SpaceGroup(symbol)
        cell = cell_for(sg, rnd)
        s = structure(sg, cell, rnd)
        d_min = D_MIN_CUBIC if sg.crystal_system_str() == "cubic" else D_MIN
        true = intensities(s, reflections(cell, d_min))
        write(file_name(sg.xhm()), sg.xhm(), cell, measure(true, rnd))
    # The twin: P 4 with a twin domain by the 2-fold along [110] (k,h,-l), fractions 1:1.
    sg = gemmi.SpaceGroup("P 4")
    cell = [11.0, 11.0, 14.0, 90, 90, 90]
    s = structure(sg, cell, rnd)
    true = intensities(s, reflections(cell, 1.0))
    twin = {h: 0.5 * true[h] + 0.5 * true[(h[1], h[0], -h[2])] for h in true}
    write("twin_P4", "P 4 twin k,h,-l 0.5", cell, measure(twin, rnd))


main()
