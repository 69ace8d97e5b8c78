#!/usr/bin/env bash
# Runs the benchmarks: the button conversion's decision natively, and the low-level hook procedure
# called directly under Wine against an empty procedure. Not part of make test.
set -uo pipefail
build=${1:-build}
here=$(dirname "${BASH_SOURCE[0]}")
"$build/native/qorv_bench_buttons" || exit 1
source "$here/wine-env.sh"
source "$here/xvfb.sh"
wine_prefix_create
start_xvfb || exit 1
cleanup() {
  wineserver -k >/dev/null 2>&1
  stop_xvfb
}
trap cleanup EXIT INT TERM
"$WINE64" "$build/win64/qorv_bench_llmouse.exe"
