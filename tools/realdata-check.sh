#!/usr/bin/env bash
# Runs vorlane on every data set of a folder of real data (NAME.exp + NAME.hkl, as in the
# project's shared reference folder) and tabulates the CIF fragment's items next to each other.
# usage: tools/realdata-check.sh REALDATA_DIR [VORLANE_BINARY]
set -uo pipefail
src="$(cd "${1:?usage: $0 REALDATA_DIR [VORLANE]}" && pwd)"
bin="$(cd "$(dirname "${2:-build/bin/vorlane}")" && pwd)/$(basename "${2:-build/bin/vorlane}")"
work="$(mktemp -d)"
printf '%-28s %4s %7s %6s %7s %7s %7s %7s %s\n' id exit N unique R_int theta_mn theta_mx compl limits
for exp in "$src"/*.exp; do
  id="$(basename "$exp" .exp)"
  [ -f "$src/$id.hkl" ] || continue
  (cd "$work" && "$bin" --sigma-ratio keep "$exp" "$id.prt" "$src/$id.hkl" "${id}_avg.hkl" \
       >"$id.stdout" 2>"$id.stderr")
  rc=$?
  cif="$work/${id}_avg_vorlane.cif"
  get() { [ -f "$cif" ] && awk -v k="$1" '$1==k {print $2}' "$cif" | head -n1; }
  lim="$(for k in h_min h_max k_min k_max l_min l_max; do get _diffrn_reflns_limit_$k; done | tr '\n' ' ')"
  printf '%-28s %4s %7s %6s %7s %7s %7s %7s %s\n' "$id" "$rc" "$(get _diffrn_reflns_number)" \
    "$(get _reflns_number_total)" "$(get _diffrn_reflns_av_R_equivalents)" \
    "$(get _diffrn_reflns_theta_min)" "$(get _diffrn_reflns_theta_max)" \
    "$(get _diffrn_measured_fraction_theta_max)" "$lim"
done
echo "outputs in $work"
