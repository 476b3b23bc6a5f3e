#!/usr/bin/env python3
"""Data names of the CIF core dictionary, one per line, for the test that checks every name the
CIF fragment writes.

Reads a DDLm dictionary (cif_core.dic, version 3.4.0, COMCIFS, CC-BY-4.0) and writes every
`_definition.id` and every `_alias.definition_id` (single values and loop rows), lower-cased
(CIF data names are case-insensitive), sorted, to tests/data/cif/cif_core_names.txt.

  python3 tools/cif/extract_core_names.py /path/to/cif_core.dic
"""
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
OUT = os.path.join(ROOT, "tests", "data", "cif", "cif_core_names.txt")


def names(text):
    found = set()
    lines = text.splitlines()
    i = 0
    while i < len(lines):
        line = lines[i].strip()
        m = re.match(r"_(definition\.id|alias\.definition_id)\s+'?([^'\s]+)'?", line)
        if m:
            found.add(m.group(2).lower())
        elif line in ("_definition.id", "_alias.definition_id") and i + 1 < len(lines):
            # The value on the next line.
            i += 1
            found.add(lines[i].strip().strip("'").lower())
        elif line == "loop_" and i + 1 < len(lines) and lines[i + 1].strip() == "_alias.definition_id":
            i += 1
            while i + 1 < len(lines) and lines[i + 1].strip().startswith("_alias."):
                i += 1
            while i + 1 < len(lines):
                row = lines[i + 1].strip()
                if not row.startswith("'_") and not row.startswith("_"):
                    break
                if row.startswith("_") and not row.startswith("'"):
                    break
                found.add(row.split()[0].strip("'").lower())
                i += 1
        i += 1
    return found


def main():
    with open(sys.argv[1], encoding="utf-8") as f:
        text = f.read()
    version = re.search(r"_dictionary\.version\s+(\S+)", text).group(1)
    result = sorted(names(text))
    with open(OUT, "w", encoding="utf-8") as f:
        f.write(f"# Data names and aliases of the CIF core dictionary (cif_core.dic) version {version},\n")
        f.write("# COMCIFS/cif_core, International Union of Crystallography, licensed CC-BY-4.0\n")
        f.write("# (https://creativecommons.org/licenses/by/4.0/). Extracted by\n")
        f.write("# tools/cif/extract_core_names.py; lower case, one per line.\n")
        for n in result:
            f.write(n + "\n")
    print(f"{len(result)} names written to {OUT}")


if __name__ == "__main__":
    main()
