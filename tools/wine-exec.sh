#!/usr/bin/env bash
# Runs a Windows program under wine64 with the project's prefix and environment; exit codes pass through.
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
exec "$WINE64" "$@"
