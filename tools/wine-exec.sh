#!/usr/bin/env bash
# Runs a Windows program under wine64 with the project's prefix and environment; exit codes pass through.
# A program that fails within a second says how it ended and what state Wine was in, on standard
# error: a test program that fails before it prints anything leaves that as its only trace.
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
start=$(date +%s%N)
"$WINE64" "$@"
rc=$?
ms=$(( ($(date +%s%N) - start) / 1000000 ))
if [ "$rc" -ne 0 ] && [ "$ms" -lt 1000 ]; then
  {
    printf 'wine-exec: %s ended with exit code %d after %d ms\n' "$1" "$rc" "$ms"
    printf 'wine-exec: wineserver %s; wine processes: %s\n' \
      "$(pgrep wineserver >/dev/null && echo running || echo 'not running')" \
      "$(pgrep -a -f '\.exe' | grep -v wine-exec | sed 's/.*[\\/]//' | tr '\n' ' ')"
  } >&2
fi
exit "$rc"
