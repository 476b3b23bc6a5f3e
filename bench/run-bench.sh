#!/usr/bin/env bash
# Benchmarks on synthetic data: generates the data sets, runs the benchmark program, measures
# the time and peak memory of whole command-line runs, and runs `gemmi merge` on the same
# measurements for comparison when gemmi is installed.
#
# usage: bench/run-bench.sh BIN_DIR      (BIN_DIR holds vorlane, gen_synthetic, bench_run and
#                                        bench_stages)
# VORLANE_BENCH_DATA=DIR keeps the data sets in DIR instead of a temporary folder.
set -euo pipefail

bin=${1:?usage: run-bench.sh BIN_DIR}
data=${VORLANE_BENCH_DATA:-$(mktemp -d -t vorlane-bench.XXXXXX)}
mkdir -p "$data"

echo "== data sets in $data"
"$bin/gen_synthetic" "$data/s3" 1000
"$bin/gen_synthetic" "$data/s5" 100000
"$bin/gen_synthetic" "$data/s6" 1000000

echo "== benchmarks"
"$bin/bench_run" --data-dir="$data"

if [ -x "$bin/bench_stages" ]; then
  echo "== stages of a whole run on 10^6 reflections (best of 3)"
  "$bin/bench_stages" "$data/s6" 3
fi

# Wall time (s) and peak resident memory (KB) of one command, as "seconds kilobytes": the
# shortest of three runs (the machine may be shared) and the largest peak.
measure() {
  local best="" peak=0
  for _ in 1 2 3; do
    /usr/bin/time -f '%e %M' -o "$data/time.txt" "$@" > /dev/null 2> "$data/stderr.txt" || {
      echo "failed: $*" >&2
      cat "$data/stderr.txt" >&2
      return 1
    }
    read -r t m < "$data/time.txt"
    if [ -z "$best" ] || awk -v a="$t" -v b="$best" 'BEGIN { exit !(a < b) }'; then best=$t; fi
    [ "$m" -gt "$peak" ] && peak=$m
  done
  echo "$best $peak"
}

whole_run() {
  local name=$1
  rm -f "$data/$name.prt" "$data/${name}_out.hkl"
  # The print file is appended to: each of the runs starts from none.
  measure sh -c 'rm -f "$3"; exec "$1" --in-format shelx --out-format shelx --sigma-ratio keep "$2" "$3" "$4" "$5"' \
    run "$bin/vorlane" "$data/$name.exp" "$data/$name.prt" "$data/$name.hkl" \
    "$data/${name}_out.hkl"
}

echo "== whole runs (vorlane command line, SHELX in and out)"
read -r t3 m3 < <(whole_run s3)
printf '%-28s %8s s %10s KB peak\n' "1000 reflections" "$t3" "$m3"
for n in 5 6; do
  count=$((10 ** n))
  read -r t m < <(whole_run "s$n")
  per=$(( (m * 1024) / count ))
  extra=$(( ((m - m3) * 1024) / count ))
  printf '%-28s %8s s %10s KB peak  %4s bytes/reflection (%s above the 1000-reflection run)\n' \
    "$count reflections" "$t" "$m" "$per" "$extra"
done

if command -v gemmi > /dev/null; then
  echo "== gemmi merge on the same measurements (XDS_ASCII form)"
  for n in 5 6; do
    count=$((10 ** n))
    rm -f "$data/s${n}_merged.mtz"
    read -r t m < <(measure gemmi merge "$data/s${n}_XDS_ASCII.HKL" "$data/s${n}_merged.mtz")
    printf '%-28s %8s s %10s KB peak  %4s bytes/reflection\n' \
      "gemmi $count reflections" "$t" "$m" $(( (m * 1024) / count ))
  done
else
  echo "== gemmi not installed: no comparison"
fi
