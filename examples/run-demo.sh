#!/usr/bin/env bash
# Reduces the bundled example and says where its three results are.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
bin="$(realpath "${1:-$here/../build/bin/vorlane}")"
out="$here/out"
mkdir -p "$out"
rm -f "$out/sh2185.prt"
cd "$out"
"$bin" --sigma-ratio keep "$here/sh2185/sh2185.exp" sh2185.prt "$here/sh2185/sh2185.hkl" sh2185_avg.hkl
echo
echo "Print file:   $out/sh2185.prt"
echo "Output file:  $out/sh2185_avg.hkl"
echo "CIF fragment: $out/sh2185_avg_vorlane.cif"
