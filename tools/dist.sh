#!/usr/bin/env bash
# `make dist`: the release packages in build/dist/ from build/win64 and build/win32:
# Qorv-<version>-x86_64.zip and Qorv-<version>-i686.zip, and an NSIS installer for each,
# Qorv-<version>-<arch>-setup.exe, itself a program of that architecture, for the current user or
# for every user of the machine. Everything carries the time of the last commit and is
# packed in a fixed order, so two builds of one commit give the same bytes. Installs NSIS and zip
# when they are missing.
set -euo pipefail
build=$(cd "${1:?usage: dist.sh BUILD_ROOT}" && pwd)
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/.." && pwd)
version=1.6
out="$build/dist"

need=()
command -v makensis >/dev/null || need+=(nsis)
command -v zip >/dev/null || need+=(zip)
if [ "${#need[@]}" -gt 0 ]; then
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  echo "dist: installing ${need[*]}"
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${need[@]}" >/dev/null
fi

epoch=$(git -C "$root" log -1 --format=%ct 2>/dev/null || echo 1700000000)
export SOURCE_DATE_EPOCH=$epoch TZ=UTC

rm -rf "$out"
mkdir -p "$out/stage"
stage() {  # stage ARCH BUILD_DIR
  local dir="$out/stage/Qorv-$version-$1"
  mkdir -p "$dir"
  for f in qorv.exe vantel.dll MapInit.ini; do
    [ -f "$2/$f" ] || { echo "dist: $2/$f is missing; run make win64 win32 first" >&2; exit 1; }
    cp "$2/$f" "$dir/"
  done
  [ -f "$2/pelisk.exe" ] && cp "$2/pelisk.exe" "$dir/" || echo "dist: $1 without pelisk.exe (not built)"
  # Windows line ends for Notepad.
  sed 's/$/\r/' "$root/dist/README.txt" >"$dir/README.txt"
  find "$dir" -exec touch -h -d "@$epoch" {} +
}
stage x86_64 "$build/win64"
stage i686 "$build/win32"
# The x86_64 release carries the 32-bit companion and its library from the i686 build (the x86_64
# build's qorv32.exe is for the tests only).
for f in qorv32.exe vantel32.dll; do
  [ -f "$build/win32/$f" ] || { echo "dist: $build/win32/$f is missing; run make win32 first" >&2; exit 1; }
  cp "$build/win32/$f" "$out/stage/Qorv-$version-x86_64/"
done
find "$out/stage/Qorv-$version-x86_64" -exec touch -h -d "@$epoch" {} +

for arch in x86_64 i686; do
  (cd "$out/stage" && find "Qorv-$version-$arch" -type f | LC_ALL=C sort |
     zip -q -X -D "$out/Qorv-$version-$arch.zip" -@)
done

for arch in x86_64 i686; do
  makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DARCH="$arch" -DSTAGE="$out/stage/Qorv-$version-$arch" \
    -DICON="$root/host/qorv.ico" -DOUTFILE="$out/Qorv-$version-$arch-setup.exe" "$root/dist/qorv.nsi"
done

(cd "$out" && sha256sum Qorv-* | tee SHA256SUMS)
