#!/usr/bin/env bash
# Runs the benchmarks: the plain decisions natively (time, and instructions under callgrind when
# valgrind is there) and the hook procedures under Wine against an empty procedure in the same run.
set -uo pipefail
build=${1:-build}
here=$(dirname "${BASH_SOURCE[0]}")
echo "== machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs)"
echo "== native decisions"
"$build/bench-native/qorv_bench_decisions"
if command -v valgrind >/dev/null; then
  out=$(mktemp)
  valgrind --tool=callgrind --callgrind-out-file="$out" "$build/bench-native/qorv_bench_decisions" 1000 >/dev/null 2>&1
  echo "callgrind: $(callgrind_annotate "$out" 2>/dev/null | grep -m1 'PROGRAM TOTALS')"
  rm -f "$out"
fi
echo "== hook procedures under Wine"
source "$here/wine-env.sh"
source "$here/xvfb.sh"
wine_prefix_create
start_xvfb || exit 1
trap 'wineserver -k >/dev/null 2>&1; stop_xvfb' EXIT
"$WINE64" "$build/win64/qorv_bench_hooks.exe"
