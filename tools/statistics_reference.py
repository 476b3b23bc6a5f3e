#!/usr/bin/python3
"""Reference shell statistics for tests/data/statistics, computed independently of VORLANE.

For each real data set the measurements are grouped with gemmi's reciprocal asymmetric unit
(Friedel mates merged), systematic absences are left out, and every column of the shell table
is computed with numpy from the definitions in the README (rejection off, so every member is
accepted); the complete set comes from gemmi.make_miller_array. Only <I/sigma> takes the
averaged values as VORLANE writes them (SHELX output, two decimals): it is defined on them.

Usage: tools/statistics_reference.py BUILD_DIR   (runs BUILD_DIR/bin/vorlane for the output)
"""
import json
import math
import os
import statistics as pystats
import subprocess
import sys
import tempfile

import gemmi
import numpy as np

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DATA = os.path.join(ROOT, "tests", "data", "realdata")
OUT = os.path.join(ROOT, "tests", "data", "statistics")
SETS = {"cod2242045_p-1_crysalis": "P -1", "caf2_fm-3m_ag_crysalis": "F m -3 m",
        "nacl_fm-3m_crysalis": "F m -3 m"}
SHELLS = 10


def read_hkl(path):
    rows = []
    with open(path) as f:
        for line in f:
            h, k, l = int(line[0:4]), int(line[4:8]), int(line[8:12])
            if h == 0 and k == 0 and l == 0:
                break
            rows.append((h, k, l, float(line[12:20]), float(line[20:28])))
    return rows


def read_cell(path):
    for line in open(path):
        if line.startswith("CELL"):
            return gemmi.UnitCell(*[float(x) for x in line.split()[1:7]])


def run_vorlane(build, exp_text, hkl, tmp):
    with open(os.path.join(tmp, "r.exp"), "w") as f:
        f.write(exp_text)
    subprocess.run([os.path.join(build, "bin", "vorlane"), "--sigma-ratio", "keep", "--report",
                    "none", "r.exp", "r.prt", hkl, "out.hkl"], cwd=tmp, check=True,
                   stdout=subprocess.DEVNULL)
    written = {}
    for line in open(os.path.join(tmp, "out.hkl")):
        h, k, l = int(line[0:4]), int(line[4:8]), int(line[8:12])
        if h == 0 and k == 0 and l == 0:
            break
        written[(h, k, l)] = (float(line[12:20]), float(line[20:28]))
    return written


def row(sets, n_possible):
    n_obs = sum(len(s["i"]) for s in sets)
    n_uniq = len(sets)
    r = {"n_obs": n_obs, "n_unique": n_uniq,
         "multiplicity": n_obs / n_uniq if n_uniq else None,
         "completeness": n_uniq / n_possible if n_possible else None}
    ios = [s["written"][0] / s["written"][1] for s in sets if s["written"][1] > 0]
    r["i_over_sigma"] = float(np.mean(ios)) if ios else None
    multi = [s for s in sets if len(s["i"]) >= 2]
    dev = sum(np.abs(s["i"] - s["i"].mean()).sum() for s in multi)
    sum_i = sum(s["i"].sum() for s in multi)
    sum_sig = sum(s["sig"].sum() for s in multi)
    meas = sum(math.sqrt(len(s["i"]) / (len(s["i"]) - 1)) * np.abs(s["i"] - s["i"].mean()).sum()
               for s in multi)
    pim = sum(math.sqrt(1 / (len(s["i"]) - 1)) * np.abs(s["i"] - s["i"].mean()).sum()
              for s in multi)
    ok = sum_i != 0
    r.update({"r_int": dev / sum_i if ok else None, "r_sigma": sum_sig / sum_i if ok else None,
              "r_meas": meas / sum_i if ok else None, "r_pim": pim / sum_i if ok else None})
    if len(multi) >= 2:
        means = np.array([s["i"].mean() for s in multi])
        var_y = means.var(ddof=1)
        var_e = np.mean([s["i"].var(ddof=1) / (len(s["i"]) / 2) for s in multi])
        r["cc_half"] = (var_y - var_e / 2) / (var_y + var_e / 2)
    else:
        r["cc_half"] = None
    deltas = []
    for s in multi:
        w = 1 / s["sig"] ** 2
        for j in range(len(s["i"])):
            others = np.arange(len(s["i"])) != j
            sw = w[others].sum()
            mean_other = (w[others] * s["i"][others]).sum() / sw
            deltas.append((s["i"][j] - mean_other) / math.sqrt(s["sig"][j] ** 2 + 1 / sw))
    r["chi2"] = float(np.mean(np.square(deltas))) if deltas else None
    return r, deltas


def normal_fit(deltas):
    d = np.sort(np.array(deltas))
    n = len(d)
    q = np.array([pystats.NormalDist().inv_cdf((k + 0.5) / n) for k in range(n)])
    c = np.abs(q) < 1
    slope, intercept = np.polyfit(q[c], d[c], 1)
    return {"slope": float(slope), "intercept": float(intercept)}


def reference(build, name, hm):
    sg = gemmi.SpaceGroup(hm)
    ops = sg.operations()
    asu = gemmi.ReciprocalAsu(sg)
    exp_path = os.path.join(DATA, name + ".exp")
    cell = read_cell(exp_path)
    hkl_path = os.path.join(DATA, name + ".hkl")
    groups = {}
    for h, k, l, i, s in read_hkl(hkl_path):
        if ops.is_systematically_absent([h, k, l]):
            continue
        key = tuple(asu.to_asu([h, k, l], ops)[0])
        g = groups.setdefault(key, {"i": [], "sig": []})
        g["i"].append(i)
        g["sig"].append(s)
    with tempfile.TemporaryDirectory() as tmp:
        written = run_vorlane(build, open(exp_path).read() + "VORLAN OUTLIER NONE\n", hkl_path,
                              tmp)
    by_key = {tuple(asu.to_asu(list(h), ops)[0]): v for h, v in written.items()}
    sets = []
    for key, g in groups.items():
        sets.append({"i": np.array(g["i"]), "sig": np.array(g["sig"]), "written": by_key[key],
                     "inv_d": math.sqrt(cell.calculate_1_d2(list(key)))})
    inv = np.array([s["inv_d"] for s in sets])
    lo, hi = inv.min(), inv.max()
    lo3, step = lo ** 3, (hi ** 3 - lo ** 3) / SHELLS

    def shell_of(x):
        return min(max(int(math.floor((x ** 3 - lo3) / step)), 0), SHELLS - 1)

    possible = gemmi.make_miller_array(cell, sg, 1 / hi * (1 - 1e-9), unique=True)
    pos_inv = [math.sqrt(cell.calculate_1_d2(list(map(int, h)))) for h in possible]
    n_pos = [0] * SHELLS
    for x in pos_inv:
        if x <= hi * (1 + 1e-9):
            n_pos[0 if x < lo else shell_of(x)] += 1
    shells = []
    for k in range(SHELLS):
        r, _ = row([s for s in sets if shell_of(s["inv_d"]) == k], n_pos[k])
        r["d_max"] = 1 / (lo3 + step * k) ** (1 / 3)
        r["d_min"] = 1 / (lo3 + step * (k + 1)) ** (1 / 3)
        shells.append(r)
    overall, deltas = row(sets, sum(n_pos))
    return {"data_set": name, "space_group": hm, "shells": shells, "overall": overall,
            "normal_probability": normal_fit(deltas)}


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build")
    os.makedirs(OUT, exist_ok=True)
    for name, hm in SETS.items():
        with open(os.path.join(OUT, name + ".json"), "w") as f:
            json.dump(reference(build, name, hm), f, indent=1)
            f.write("\n")


if __name__ == "__main__":
    main()
