#!/usr/bin/env bash
# Regression guard for speed work: runs vorlane on the bundled example, on real data sets and on
# synthetic data (both input formats, both output formats, individual output, sigma ratio
# applied) and keeps every result (print file without its run-date line, output file, CIF
# fragment, standard output and error, exit status). `make` stores them as the reference,
# `check` compares a new build's results byte for byte with it.
#
# usage: bench/golden-check.sh make|check BIN_DIR GOLDEN_DIR [REALDATA_DIR]
set -uo pipefail

mode=${1:?usage: golden-check.sh make|check BIN_DIR GOLDEN_DIR [REALDATA_DIR]}
bin=$(realpath "${2:?bin dir}")
golden=$(realpath -m "${3:?golden dir}")
real=${4:-/work/shared/realdata}
here=$(cd "$(dirname "$0")/.." && pwd)

data="$golden/data"
mkdir -p "$data"
# Synthetic data are generated once and kept beside the reference results.
synth() {  # PREFIX COUNT GROUP
  [ -f "$data/$1.hkl" ] || "$bin/gen_synthetic" "$data/$1" "$2" "$3" > /dev/null
}
synth p21c5 100000 p21c
synth p212121_5 100000 p212121
synth p-1_5 100000 p-1
for p in p21c5 p212121_5; do
  if [ ! -f "$data/${p}_ind.exp" ]; then
    cp "$data/$p.exp" "$data/${p}_ind.exp"
    echo "VORLAN OUTPUT INDIVIDUAL" >> "$data/${p}_ind.exp"
  fi
done

out="$golden/$mode"
rm -rf "$out"
mkdir -p "$out"

# NAME EXP IN INFMT OUTFMT SIGMA
run_case() {
  local name=$1 exp=$2 in=$3 infmt=$4 outfmt=$5 sigma=$6
  local dir="$out/$name"
  mkdir -p "$dir"
  local ext=hkl
  [ "$outfmt" = zezor ] && ext=avg
  (cd "$dir" && "$bin/vorlane" --in-format "$infmt" --out-format "$outfmt" --sigma-ratio "$sigma" \
      "$exp" run.prt "$in" "run.$ext" > stdout.txt 2> stderr.txt; echo $? > status.txt)
  grep -v "RUN ON:" "$dir/run.prt" > "$dir/print.txt"
  rm -f "$dir/run.prt"
}

run_case example "$here/examples/sh2185/sh2185.exp" "$here/examples/sh2185/sh2185.hkl" shelx shelx keep
for id in sucrose_p21_sadabs i-43d_cubic cpna_pnma caf2_fm-3m_ag_crysalis dac_c1p1_p21c_crysalis \
          p31c_sadabs alert_p-1_saint bruecknerjk_p21212_sadabs; do
  [ -f "$real/$id.exp" ] && run_case "$id" "$real/$id.exp" "$real/$id.hkl" shelx shelx keep
done
run_case p21c_shelx "$data/p21c5.exp" "$data/p21c5.hkl" shelx shelx keep
run_case p21c_zezor "$data/p21c5.exp" "$data/p21c5.abs" zezor zezor keep
run_case p21c_zezor_apply "$data/p21c5.exp" "$data/p21c5.abs" zezor shelx apply
run_case p21c_individual "$data/p21c5_ind.exp" "$data/p21c5.hkl" shelx shelx keep
run_case p21c_individual_zezor "$data/p21c5_ind.exp" "$data/p21c5.abs" zezor zezor keep
run_case p212121_shelx "$data/p212121_5.exp" "$data/p212121_5.hkl" shelx zezor apply
run_case p212121_individual "$data/p212121_5_ind.exp" "$data/p212121_5.hkl" shelx shelx keep
run_case p-1_shelx "$data/p-1_5.exp" "$data/p-1_5.hkl" shelx shelx keep

if [ "$mode" = check ]; then
  if diff -r -q "$golden/make" "$out"; then
    echo "all results identical ($(ls "$out" | wc -l) runs)"
  else
    echo "RESULTS DIFFER" >&2
    exit 1
  fi
else
  echo "reference results in $out ($(ls "$out" | wc -l) runs)"
fi
