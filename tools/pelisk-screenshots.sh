#!/usr/bin/env bash
# Saves pictures of the settings program's windows as build/pelisk-<name>.png (every page of the
# tabbed window, the debug dialog and both editors), taken under Wine in the Japanese locale.
set -uo pipefail
build=${1:-build}
here=$(dirname "${BASH_SOURCE[0]}")
source "$here/wine-env.sh"
source "$here/xvfb.sh"
wine_prefix_create
start_xvfb || exit 1
trap 'wineserver -k >/dev/null 2>&1; stop_xvfb' EXIT INT TERM
"$WINE64" "$build/win64/qorv_pelisk_tests.exe" --gtest_also_run_disabled_tests --gtest_filter='Screenshots.DISABLED_*'
status=$?
for bmp in "$build"/win64/shot-*.bmp; do
  [ -f "$bmp" ] || continue
  name=$(basename "$bmp" .bmp)
  convert "$bmp" "$build/pelisk-${name#shot-}.png" && rm -f "$bmp"
  echo "saved $build/pelisk-${name#shot-}.png"
done
exit "$status"
