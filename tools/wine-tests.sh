#!/usr/bin/env bash
# Runs the Windows integration tests of a build folder under Wine, one at a time, on a private
# X server in a Wine virtual desktop with the Japanese locale. Ends every process it started.
set -uo pipefail
build=${1:?usage: wine-tests.sh BUILD_DIR [ctest args...]}
shift
here=$(dirname "${BASH_SOURCE[0]}")
# Wine's error channel on (and nothing else): a test program that fails before it prints anything
# then leaves what Wine itself reported. QORV_WINEDEBUG overrides it.
export QORV_WINEDEBUG="${QORV_WINEDEBUG:--all,err+all}"
source "$here/wine-env.sh"
source "$here/xvfb.sh"

wine_prefix_create
start_xvfb || exit 1
# QORV_TEST_LOAD=1: one core kept busy by a plain CPU burner for the whole run, so that a test
# whose timing holds only on an idle machine fails here first.
burner_pid=""
if [ "${QORV_TEST_LOAD:-0}" = 1 ]; then
  ( trap 'exit 0' TERM; while :; do :; done ) &
  burner_pid=$!
  echo "wine-tests: load mode, CPU burner $burner_pid keeps one core busy"
fi
cleanup() {
  [ -n "$burner_pid" ] && kill "$burner_pid" 2>/dev/null
  wineserver -k >/dev/null 2>&1
  stop_xvfb
}
trap cleanup EXIT INT TERM

# One server for the whole run: without it the server ends after each test program and the next one
# can start while it is still going away, failing before it runs at all. The cleanup above ends it.
wineserver -p
# Warm the server and the desktop so that the first test does not pay for them.
"$WINE64" cmd /c exit >/dev/null 2>&1
# One desktop for the whole run too: Wine closes the virtual desktop about a second after its last
# user ends, and a test program that starts while it is closing fails before it runs. The keeper is
# a user of the desktop that shows nothing; the cleanup above ends it with the server.
if [ -f "$build/qorv_desktop_keeper.exe" ]; then
  "$WINE64" "$build/qorv_desktop_keeper.exe" >/dev/null 2>&1 &
fi

cd "$build" || exit 1
rm -rf run
ctest --output-on-failure --timeout 120 "$@"
