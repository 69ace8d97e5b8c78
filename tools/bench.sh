#!/usr/bin/env bash
# Runs the benchmarks: the plain decisions natively (Release, no sanitizers; instructions under
# callgrind when valgrind is there) and the hook procedures linked into programs and called directly
# under Wine against an empty procedure in the same run. Not part of make test.
set -uo pipefail
build=${1:-build}
here=$(dirname "${BASH_SOURCE[0]}")
echo "== machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs)"
echo "== native decisions"
"$build/bench-native/qorv_bench_decisions"
"$build/bench-native/qorv_bench_buttons"
"$build/bench-native/bench/qorv_snap_bench"
if command -v valgrind >/dev/null; then
  out=$(mktemp)
  valgrind --tool=callgrind --callgrind-out-file="$out" "$build/bench-native/qorv_bench_decisions" 1000 >/dev/null 2>&1
  echo "callgrind, wheel decisions program with 1000 iterations: $(callgrind_annotate "$out" 2>/dev/null | grep -m1 'PROGRAM TOTALS')"
  rm -f "$out"
fi
echo "== hook procedures under Wine"
source "$here/wine-env.sh"
source "$here/xvfb.sh"
wine_prefix_create
start_xvfb || exit 1
cleanup() {
  wineserver -k >/dev/null 2>&1
  stop_xvfb
}
trap cleanup EXIT INT TERM
"$WINE64" "$build/win64/qorv_bench_hooks.exe"
"$WINE64" "$build/win64/qorv_bench_llmouse.exe"
"$WINE64" "$build/win64/qorv_bench_hook_thread.exe"
"$WINE64" "$build/win64/bench/qorv_bench.exe"
