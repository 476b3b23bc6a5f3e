#!/usr/bin/env bash
# Runs every fuzz target of BUILD_DIR for SECONDS each. Inputs of up to 64 KB; one that takes
# longer than the timeout, leaks or trips a sanitizer stops the target and fails the script.
set -euo pipefail
build=${1:-build-fuzz}
seconds=${2:-60}
here="$(cd "$(dirname "$0")" && pwd)"
status=0
for target in run exp_file records numbers integration writers; do
  corpus="$build/corpus/$target"
  findings="$build/findings/$target/"
  mkdir -p "$corpus" "$findings"
  echo "fuzz_$target: ${seconds} s"
  if ! "$build/bin/fuzz_$target" -max_total_time="$seconds" -max_len=65536 -timeout=5 \
      -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$findings" \
      "$corpus" "$here/corpus/$target" >"$build/fuzz_$target.log" 2>&1; then
    echo "fuzz_$target FOUND A PROBLEM: see $build/fuzz_$target.log and $findings" >&2
    tail -n 40 "$build/fuzz_$target.log" >&2
    status=1
  else
    grep -E "stat::number_of_executed_units|cov: " "$build/fuzz_$target.log" | tail -n 2
  fi
done
exit $status
