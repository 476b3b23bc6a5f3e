#!/usr/bin/env bash
# Benchmarks on synthetic data: generates the data sets, runs the benchmark program, measures
# the time and peak memory of whole command-line runs, and runs `gemmi merge` on the same
# measurements for comparison when gemmi is installed.
#
# usage: bench/run-bench.sh BIN_DIR      (BIN_DIR holds vorlane, gen_synthetic, bench_run and
#                                        bench_stages)
# VORLANE_BENCH_DATA=DIR keeps the data sets in DIR instead of a temporary folder.
# VORLANE_BENCH_1E7=1 adds the point at 10^7 reflections (10^6 unique) to the curve: about a
# gigabyte of data and a minute or more per run.
set -euo pipefail

bin=${1:?usage: run-bench.sh BIN_DIR}
if [ -n "${VORLANE_BENCH_DATA:-}" ]; then
  data=$VORLANE_BENCH_DATA
else
  # A folder of its own, gone with the script (the 10^7 point alone is a gigabyte).
  data=$(mktemp -d -t vorlane-bench.XXXXXX)
  trap 'rm -rf "$data"' EXIT
fi
mkdir -p "$data"

echo "== data sets in $data"
"$bin/gen_synthetic" "$data/s3" 1000
"$bin/gen_synthetic" "$data/s5" 100000
"$bin/gen_synthetic" "$data/s6" 1000000
big=${VORLANE_BENCH_1E7:-0}
if [ "$big" = 1 ] && [ ! -f "$data/s7.hkl" ]; then
  "$bin/gen_synthetic" "$data/s7" 10000000 p21c 20240601 1000000
fi
# The data just written go to disk now, not while the runs below are timed.
sync

if [ -x "$bin/bench_run" ]; then
  echo "== benchmarks"
  "$bin/bench_run" --data-dir="$data"
fi

if [ -x "$bin/bench_stages" ]; then
  echo "== stages of a whole run on 10^6 reflections (best of 3)"
  "$bin/bench_stages" "$data/s6" 3
fi

# Wall time (s) and peak resident memory (KB) of one command, as "seconds kilobytes".
once() {
  /usr/bin/time -f '%e %M' -o "$data/time.txt" "$@" > /dev/null 2> "$data/stderr.txt" || {
    echo "failed: $*" >&2
    cat "$data/stderr.txt" >&2
    return 1
  }
  cat "$data/time.txt"
}

# A whole command-line run with the default options (SHELX in and out, statistics, listing,
# output, CIF fragment, stats file, rejection ledger and report). The print file is appended
# to: every run starts from none.
vorlane_run() {
  local name=$1
  rm -f "$data/$name.prt"
  once "$bin/vorlane" --in-format shelx --out-format shelx --sigma-ratio keep \
    "$data/$name.exp" "$data/$name.prt" "$data/$name.hkl" "$data/${name}_out.hkl"
}

gemmi_run() {
  local name=$1
  rm -f "$data/${name}_merged.mtz"
  once gemmi merge "$data/${name}_XDS_ASCII.HKL" "$data/${name}_merged.mtz"
}

# The median of the numbers on standard input.
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# NAME RUNS: median seconds and largest peak KB of RUNS whole runs, as "seconds kilobytes".
curve_point() {
  local name=$1 runs=$2 times="" peak=0
  for _ in $(seq "$runs"); do
    read -r t m < <(vorlane_run "$name")
    times="$times $t"
    [ "$m" -gt "$peak" ] && peak=$m
  done
  echo "$(printf '%s\n' $times | median) $peak"
}

echo "== whole runs (vorlane command line, default options)"
read -r t3 m3 < <(curve_point s3 3)
printf '%-22s %8s s %10s KB peak\n' "1000 reflections" "$t3" "$m3"

# The ratio to gemmi merge: five runs of each, alternating, on the same 10^6 measurements.
if command -v gemmi > /dev/null; then
  vt=""; gt=""; vpeak=0; gpeak=0
  for _ in 1 2 3 4 5; do
    read -r t m < <(vorlane_run s6); vt="$vt $t"; [ "$m" -gt "$vpeak" ] && vpeak=$m
    read -r t m < <(gemmi_run s6); gt="$gt $t"; [ "$m" -gt "$gpeak" ] && gpeak=$m
  done
  vmed=$(printf '%s\n' $vt | median)
  gmed=$(printf '%s\n' $gt | median)
  echo "== against gemmi merge (XDS_ASCII form of the same 10^6 measurements, median of five)"
  printf '  vorlane %8s s %10s KB peak  (runs:%s)\n' "$vmed" "$vpeak" "$vt"
  printf '  gemmi   %8s s %10s KB peak  (runs:%s)\n' "$gmed" "$gpeak" "$gt"
  awk -v v="$vmed" -v g="$gmed" 'BEGIN { printf "  time ratio vorlane / gemmi merge: %.2f (target 0.50 or less)\n", v / g }'
  s6point="$vmed $vpeak"
else
  echo "== gemmi not installed: no comparison"
  s6point=$(curve_point s6 5)
fi

echo "== curve (10^5 and 10^7 reflections: median of three runs and one run; 10^6: of five)"
printf '  %-12s %10s %12s %12s %14s %14s\n' reflections seconds "us/refl" "peak KB" "bytes/refl" \
  "above 10^3 run"
point() {  # COUNT SECONDS KB
  awk -v n="$1" -v t="$2" -v m="$3" -v m3="$m3" 'BEGIN {
    printf "  %-12d %10.2f %12.3f %12d %14.1f %14.1f\n", n, t, t * 1e6 / n, m, m * 1024 / n,
      (m - m3) * 1024 / n }'
}
read -r t m < <(curve_point s5 3)
point 100000 "$t" "$m"
read -r t m <<< "$s6point"
point 1000000 "$t" "$m"
if [ "$big" = 1 ]; then
  read -r t m < <(curve_point s7 1)
  point 10000000 "$t" "$m"
else
  echo "  (10^7 reflections: set VORLANE_BENCH_1E7=1)"
fi
