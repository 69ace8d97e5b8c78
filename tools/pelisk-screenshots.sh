#!/usr/bin/env bash
# Saves pictures of the settings program's windows as build/pelisk-<ja|en>-<name>.png (every page of
# the tabbed window, the debug dialog and both editors), taken under Wine in the Japanese locale and
# again in the English one. Each
# picture is taken once the window has stayed the same on the screen for a while; the run fails
# when a picture of the tabbed window does not show its tab strip.
set -uo pipefail
build=${1:-build}
here=$(dirname "${BASH_SOURCE[0]}")
source "$here/wine-env.sh"
source "$here/xvfb.sh"
start_xvfb || exit 1
trap 'wineserver -k >/dev/null 2>&1; stop_xvfb' EXIT INT TERM
status=0
for lang in ja_JP en_US; do
  export LANG=$lang.UTF-8 LC_ALL=$lang.UTF-8
  # The English pictures come from a prefix of their own made in the English locale, as an English
  # Windows would be set up: a prefix made in Japanese keeps its Japanese caption font, which has
  # no Latin letters under the English locale.
  if [ "$lang" = en_US ]; then
    wineserver -k >/dev/null 2>&1
    export WINEPREFIX="${QORV_WINEPREFIX_EN:-$repo_root/build/wineprefix-en}"
  fi
  wine_prefix_create
  # The Japanese dialogs ask for the Japanese system font, which Wine does not ship: draw it with
  # the Japanese font that the dependencies install.
  "$WINE64" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ Ｐゴシック' /d "${PELISK_FONT:-MotoyaLCedar}" /f >/dev/null 2>&1
  "$WINE64" "$build/win64/qorv_pelisk_tests.exe" --gtest_also_run_disabled_tests \
    --gtest_filter='Screenshots.DISABLED_*' || status=1
done
for bmp in "$build"/win64/shot-*.bmp; do
  [ -f "$bmp" ] || continue
  name=$(basename "$bmp" .bmp)
  convert "$bmp" "$build/pelisk-${name#shot-}.png" && rm -f "$bmp"
  echo "saved $build/pelisk-${name#shot-}.png"
done
exit "$status"
