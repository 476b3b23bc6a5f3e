#!/usr/bin/env python3
"""Reference centrosymmetry of every setting of gemmi's space-group table, from cctbx.

Writes tests/data/symmetry/centric_cctbx.txt (run from the repository root with the system
python that has python3-cctbx and python3-gemmi:
/usr/bin/python3 tools/cctbx/make_centric_reference.py). One line per setting but those in
rhombohedral axes (":R"):

    <xhm, blanks as "_"> <0|1>

1 when cctbx's space group built from the setting's Hall symbol is centric (it holds an
operator whose rotation is -1, whatever its translation). gemmi gives the settings and their
Hall symbols; the verdict is cctbx's alone.
"""
import importlib.metadata
import sys

import gemmi
from cctbx import sgtbx


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "tests/data/symmetry/centric_cctbx.txt"
    lines = ["# is_centric() of cctbx %s for the settings of gemmi %s's table but rhombohedral axes"
             % (importlib.metadata.version("cctbx"), gemmi.__version__)]
    for sg in gemmi.spacegroup_table():
        if sg.ext == "R":
            continue
        group = sgtbx.space_group_info("Hall: " + sg.hall).group()
        lines.append("%s %d" % (sg.xhm().replace(" ", "_"), 1 if group.is_centric() else 0))
    with open(out, "w") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
