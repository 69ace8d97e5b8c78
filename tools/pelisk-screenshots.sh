#!/usr/bin/env bash
# Saves pictures of the settings program's windows as build/pelisk-<name>.png (every page of the
# tabbed window, the debug dialog and both editors), taken under Wine in the Japanese locale. Each
# picture is taken once the window has stayed the same on the screen for a while; the run fails
# when a picture of the tabbed window does not show its tab strip.
set -uo pipefail
build=${1:-build}
here=$(dirname "${BASH_SOURCE[0]}")
source "$here/wine-env.sh"
source "$here/xvfb.sh"
wine_prefix_create
start_xvfb || exit 1
trap 'wineserver -k >/dev/null 2>&1; stop_xvfb' EXIT INT TERM
# The dialogs ask for the Japanese system font, which Wine does not ship: draw it with the Japanese
# font that the dependencies install.
"$WINE64" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ Ｐゴシック' /d "${PELISK_FONT:-MotoyaLCedar}" /f >/dev/null 2>&1
"$WINE64" "$build/win64/qorv_pelisk_tests.exe" --gtest_also_run_disabled_tests --gtest_filter='Screenshots.DISABLED_*'
status=$?
for bmp in "$build"/win64/shot-*.bmp; do
  [ -f "$bmp" ] || continue
  name=$(basename "$bmp" .bmp)
  convert "$bmp" "$build/pelisk-${name#shot-}.png" && rm -f "$bmp"
  echo "saved $build/pelisk-${name#shot-}.png"
done
exit "$status"
