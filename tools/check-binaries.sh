#!/usr/bin/env bash
# Checks what other programs rely on in the built hook library: its exported names and that it
# imports nothing but system DLLs (a libstdc++ or libgcc DLL would keep it from loading elsewhere).
# The settings program is held to system DLLs too.
set -uo pipefail
build=${1:-build}
status=0
here=$(dirname "${BASH_SOURCE[0]}")
# The names listed in the library's .def file, undecorated on both architectures.
expected=$(sed -n '/^EXPORTS/,$p' "$here/../hooklib/vantel.def" | tail -n +2 | awk 'NF{print $1}' | sort | tr '\n' ' ')
expected=${expected% }
for pair in win64:x86_64 win32:i686; do
  dir=${pair%%:*}
  arch=${pair#*:}
  dll="$build/$dir/vantel.dll"
  if [ ! -f "$dll" ]; then
    echo "check: $dll missing"; status=1; continue
  fi
  dump=$("$arch-w64-mingw32-objdump" -p "$dll")
  imports=$(grep 'DLL Name:' <<<"$dump" | awk '{print toupper($3)}' | sort | tr '\n' ' ')
  for name in $imports; do
    case "$name" in
      KERNEL32.DLL|USER32.DLL|GDI32.DLL|ADVAPI32.DLL|MSVCRT.DLL) ;;
      *) echo "check: $dll imports $name, which is not a system DLL"; status=1 ;;
    esac
  done
  exports=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump" | grep -E '^\s+\[ *[0-9]+\] [A-Za-z_@0-9]+$' | awk '{print $NF}' | sort | tr '\n' ' ')
  if [ "${exports% }" != "$expected" ]; then
    echo "check: $dll exports '${exports% }', expected '$expected'"; status=1
  fi
  echo "check: $dir/vantel.dll $(stat -c %s "$dll") bytes, imports: ${imports% }"
done
# The settings program: system DLLs only (the C++ runtime is linked in statically).
for pair in win64:x86_64 win32:i686; do
  dir=${pair%%:*}
  arch=${pair#*:}
  exe="$build/$dir/pelisk.exe"
  if [ ! -f "$exe" ]; then
    echo "check: $exe missing"; status=1; continue
  fi
  imports=$("$arch-w64-mingw32-objdump" -p "$exe" | grep 'DLL Name:' | awk '{print toupper($3)}' | sort -u | tr '\n' ' ')
  for name in $imports; do
    case "$name" in
      KERNEL32.DLL|USER32.DLL|GDI32.DLL|ADVAPI32.DLL|MSVCRT.DLL|COMCTL32.DLL|COMDLG32.DLL|VERSION.DLL|IMM32.DLL|WINMM.DLL|SHELL32.DLL|OLE32.DLL) ;;
      *) echo "check: $exe imports $name, which is not a system DLL"; status=1 ;;
    esac
  done
  echo "check: $dir/pelisk.exe $(stat -c %s "$exe") bytes, imports: ${imports% }"
done
exit "$status"
