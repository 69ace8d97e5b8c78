#!/usr/bin/env bash
# Runs every fuzz target for the given number of seconds (or, with FUZZ_RUNS set, for that many
# executions), one after another, starting from its seed corpus. New inputs are kept in
# BUILD/fuzz-work/<name>, crashes written there too.
set -uo pipefail
build=${1:-build}
seconds=${2:-600}
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
status=0
for fuzzer in "$build"/fuzz/*_fuzz; do
  name=$(basename "$fuzzer" _fuzz)
  work="$build/fuzz-work/$name"
  mkdir -p "$work"
  if [ -n "${FUZZ_RUNS:-}" ]; then
    limit="-runs=$FUZZ_RUNS"
    echo "fuzz: $name for $FUZZ_RUNS executions"
  else
    limit="-max_total_time=$seconds"
    echo "fuzz: $name for ${seconds}s"
  fi
  "$fuzzer" "$limit" -print_final_stats=1 -artifact_prefix="$work/" "$work" "$root/fuzz/corpus/$name" \
    2>&1 | grep -E 'stat::number_of_executed_units|Done|ERROR|SUMMARY' || true
  [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
done
exit "$status"
