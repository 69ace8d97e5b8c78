#!/usr/bin/env bash
# Runs the native unit tests and the Wine integration tests of a built tree and prints a summary.
set -uo pipefail
build=${1:-build}
here=$(dirname "${BASH_SOURCE[0]}")

count() {  # prints "passed failed" from a ctest log
  local total failed
  total=$(grep -oE 'tests passed, [0-9]+ tests failed out of [0-9]+' "$1" | tail -1)
  failed=$(sed -E 's/.*passed, ([0-9]+) tests failed.*/\1/' <<<"$total")
  total=$(sed -E 's/.*out of ([0-9]+)/\1/' <<<"$total")
  echo "$(( ${total:-0} - ${failed:-0} )) ${failed:-0}"
}

status=0
log_native=$(mktemp)
log_wine=$(mktemp)
(cd "$build/native" && ctest --output-on-failure -j 2 --timeout 120) 2>&1 | tee "$log_native"
[ "${PIPESTATUS[0]}" -eq 0 ] || status=1
log_fuzz=$(mktemp)
(cd "$build/fuzz" && ctest --output-on-failure -j 2 --timeout 300) 2>&1 | tee "$log_fuzz"
[ "${PIPESTATUS[0]}" -eq 0 ] || status=1
"$here/wine-tests.sh" "$build/win64" 2>&1 | tee "$log_wine"
[ "${PIPESTATUS[0]}" -eq 0 ] || status=1
"$here/check-binaries.sh" "$build" || status=1
i686="built"
[ -f "$build/win32/vantel.dll" ] && [ -f "$build/win32/qorv.exe" ] || { i686="MISSING"; status=1; }

read -r np nf < <(count "$log_native")
read -r wp wf < <(count "$log_wine")
read -r fp ff < <(count "$log_fuzz")
rm -f "$log_native" "$log_wine" "$log_fuzz"
verdict=PASSED
[ "$status" -eq 0 ] || verdict=FAILED
echo "SUMMARY: $verdict - native $np passed, $nf failed; fuzz corpora $fp passed, $ff failed; wine x86_64 $wp passed, $wf failed; i686 $i686"
exit "$status"
