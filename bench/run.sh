#!/usr/bin/env bash
# Runs the benchmarks: natively, then under Wine on a private X server. Build first with
# `make native win64`.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=${1:-$here/../build}
"$build/native/bench/qorv_snap_bench"
source "$here/../tools/wine-env.sh"
source "$here/../tools/xvfb.sh"
wine_prefix_create
start_xvfb || exit 1
cleanup() {
  wineserver -k >/dev/null 2>&1
  stop_xvfb
}
trap cleanup EXIT INT TERM
"$WINE64" "$build/win64/bench/qorv_bench.exe"
