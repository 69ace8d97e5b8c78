#!/usr/bin/env bash
# `make run`. With a working display: starts qorv.exe there (from build/demo/, beside vantel.dll,
# MapInit.ini and pelisk.exe when built) until it is ended from its tray icon or with "qorv.exe /quit".
# Without one: a demonstration in a Wine virtual desktop on a private X server. qorv.exe and the
# demonstration application run; the wheel turns over an inactive window, a window is dragged until
# it snaps, the wheel turns over a caption, a window is sized with its size shown, the tray menu
# opens, its settings item opens the settings program; before and after each step a screenshot is saved under
# build/ (demo-<step>-before.png, demo-<step>-after.png) and one line says what happened
# (also in build/demo.txt). Exit code 0 when every step did what it should.
set -uo pipefail
build=${1:?usage: run-qorv.sh BUILD_DIR}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/wine-env.sh"
source "$here/xvfb.sh"
build=$(cd "$build" && pwd)
out=$(cd "$build/.." && pwd)
demo="$out/demo"

rm -rf "$demo"
mkdir -p "$demo"
for f in qorv.exe vantel.dll MapInit.ini pelisk.exe; do
  [ -f "$build/$f" ] && cp "$build/$f" "$demo/"
done
[ -f "$demo/pelisk.exe" ] || echo "run: pelisk.exe is not built yet; the settings menu item will say so"
# The default settings, with the size shown while sizing.
printf '[FLAGS]\r\nWndFlag=0x050A140D\r\n' >"$demo/Qorv.ini"

wine_prefix_create
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  echo "run: starting qorv.exe on $DISPLAY; end it from its tray icon or with: tools/wine-exec.sh $demo/qorv.exe /quit"
  (cd "$demo" && "$WINE64" ./qorv.exe)
  code=$?
  echo "run: qorv.exe ended with exit code $code"
  exit "$code"
fi

start_xvfb || exit 1
cleanup() {
  wineserver -k >/dev/null 2>&1
  stop_xvfb
}
trap cleanup EXIT INT TERM
echo "run: no display; the demonstration runs in a Wine virtual desktop on private display $DISPLAY"
"$WINE64" cmd /c exit >/dev/null 2>&1  # the desktop and the server up before anything is timed

shot() {
  # The virtual desktop sits at the top left of the X screen.
  import -display "$DISPLAY" -window root -crop 1024x768+0+0 +repage "$out/demo-$1.png" 2>/dev/null &&
    echo "      screenshot build/demo-$1.png"
}

demo_exe="$build/qorv_demo.exe"
(cd "$demo" && "$WINE64" ./qorv.exe) &
qorv_pid=$!
"$WINE64" "$demo_exe" wait-qorv | tr -d '\r' || exit 1
"$WINE64" "$demo_exe" show &
demo_pid=$!

: >"$out/demo.txt"
failed=0
for step in wheel snap caption size menu settings; do
  "$WINE64" "$demo_exe" prepare "$step" | tr -d '\r' | sed 's/^/run: /'
  shot "$step-before"
  if ! line=$("$WINE64" "$demo_exe" do "$step" | tr -d '\r'); then
    failed=1
  fi
  echo "run: $line"
  echo "$line" >>"$out/demo.txt"
  shot "$step-after"
done
"$WINE64" "$demo_exe" close-menu
"$WINE64" "$demo_exe" close-settings

"$WINE64" "$demo_exe" quit
"$WINE64" "$demo/qorv.exe" /quit
wait "$demo_pid"
wait "$qorv_pid"
code=$?
echo "run: qorv.exe was asked to quit and ended with exit code $code (hooks and hotkeys removed)"
[ "$failed" -eq 0 ] && [ "$code" -eq 0 ]
