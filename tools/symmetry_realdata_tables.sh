#!/bin/sh
# Runs `vorlane symmetry` on every set of a real-data collection (an INDEX.tsv beside
# NAME.exp and NAME.hkl or NAME.abs) and keeps the tables and the JSON of each in
# docs/symmetry_realdata/, with a summary line per set in SUMMARY.tsv.
# Usage: tools/symmetry_realdata_tables.sh [VORLANE] [COLLECTION]
set -eu
vorlane=${1:-build/bin/vorlane}
collection=${2:-/work/shared/realdata}
out=docs/symmetry_realdata
mkdir -p "$out"
printf 'id\tpublished\texit\tseconds\tcentring\tlaue\tfirst\tsecond\n' > "$out/SUMMARY.tsv"
tail -n +2 "$collection/INDEX.tsv" | while IFS='	' read -r id system group rest; do
  data="$collection/$id.hkl"
  [ -f "$collection/$id.abs" ] && [ ! -f "$data" ] && data="$collection/$id.abs"
  exp="$collection/$id.exp"
  if [ ! -f "$exp" ]; then
    # No experiment file in the collection (the HKLF 5 set): the cell from its .res.
    exp="$out/$id.exp"
    awk '/^CELL/ {print "CELL  " $3, $4, $5, $6, $7, $8; print "WAVEL 1 " $2}' \
      "$collection/$id.res" > "$exp"
  fi
  start=$(date +%s.%N)
  status=0
  "$vorlane" symmetry --json "$out/$id.json" "$exp" "$data" > "$out/$id.txt" 2>&1 || status=$?
  end=$(date +%s.%N)
  summary=$(/usr/bin/python3 - "$out/$id.json" <<'PY'
import json, sys
try:
    j = json.load(open(sys.argv[1]))
except Exception:
    print("\t\t\t"); sys.exit()
def row(r):
    return "%s %.4g%s" % (r["symbol"], r["probability"], (" (ties: " + "; ".join(r["ties"]) + ")") if r["ties"] else "")
g = j.get("space_groups", [])
l = j.get("laue_classes", [])
print("\t".join([j.get("centring", ""),
                 ("%s %.4g" % (l[0]["symbol"], l[0]["probability"])) if l else "",
                 row(g[0]) if g else ("not determinable: " + j.get("reason", "")),
                 row(g[1]) if len(g) > 1 else ""]))
PY
)
  printf '%s\t%s\t%s\t%.2f\t%s\n' "$id" "$group" "$status" "$(echo "$end - $start" | bc)" "$summary" >> "$out/SUMMARY.tsv"
done
