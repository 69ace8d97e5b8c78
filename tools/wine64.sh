#!/usr/bin/env bash
# Starts Debian's wine64 loader without address randomisation; every program it starts inherits that.
# Debian builds Wine without its preloader, the small loader that reserves the addresses Windows
# programs need before Linux places anything. The loader sits at 0x7d000000 and Linux puts its heap at
# a random point of the gigabyte above it; about once in several thousand starts the heap covers the
# shared user data page at 0x7ffe0000, and the program ends before any of its code runs ("failed to
# map the shared user data: c0000018", exit code 1 after a few milliseconds). Without randomisation
# the heap starts right after the loader, 48 MB below that page.
exec setarch "$(uname -m)" -R "${QORV_WINE64_LOADER:-/usr/lib/wine/wine64}" "$@"
