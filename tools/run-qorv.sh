#!/usr/bin/env bash
# Starts qorv.exe under Wine. With a display it runs there until it is ended from its tray icon
# (or with "qorv.exe /quit"); without one it runs for a few seconds in a virtual desktop on a private
# X server, a screenshot is saved, and it is ended the way a user ends it.
set -uo pipefail
build=${1:?usage: run-qorv.sh BUILD_DIR}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/wine-env.sh"
source "$here/xvfb.sh"
build=$(cd "$build" && pwd)
seconds=${QORV_RUN_SECONDS:-5}

wine_prefix_create
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  echo "run: starting qorv.exe on $DISPLAY; end it from its tray icon or with: tools/wine-exec.sh $build/qorv.exe /quit"
  "$WINE64" "$build/qorv.exe"
  code=$?
  echo "run: qorv.exe ended with exit code $code"
  exit "$code"
fi

start_xvfb || exit 1
trap 'wineserver -k >/dev/null 2>&1; stop_xvfb' EXIT INT TERM
echo "run: no display; starting qorv.exe in a Wine virtual desktop on private display $DISPLAY"
"$WINE64" "$build/qorv.exe" &
qorv_pid=$!
sleep "$seconds"
shot="$build/../qorv-run.png"
if import -display "$DISPLAY" -window root "$shot" 2>/dev/null; then
  echo "run: screenshot of the desktop after ${seconds}s saved as $(cd "$(dirname "$shot")" && pwd)/$(basename "$shot")"
fi
if ! kill -0 "$qorv_pid" 2>/dev/null; then
  wait "$qorv_pid"
  echo "run: qorv.exe ended early with exit code $?" >&2
  exit 1
fi
"$WINE64" "$build/qorv.exe" /quit
wait "$qorv_pid"
code=$?
echo "run: qorv.exe installed its hooks, ran ${seconds}s, was asked to quit and ended with exit code $code (hooks removed)"
exit "$code"
