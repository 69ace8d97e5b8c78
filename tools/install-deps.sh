#!/usr/bin/env bash
# Installs the Debian packages that the build and the tests need, only when one is missing,
# and makes sure the Japanese and English locales exist.
set -euo pipefail

packages=(
  cmake make g++ clang libclang-rt-14-dev googletest
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64-x86-64
  wine64 xvfb xauth x11-utils xdotool imagemagick fonts-motoya-l-cedar fonts-wine locales util-linux
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi

if [ "${#missing[@]}" -gt 0 ]; then
  echo "install-deps: installing ${missing[*]}"
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# The Japanese locale gives Wine code page 932; the English one lets the tests and the pictures run
# the programs in English as well.
for loc in ja_JP en_US; do
  if ! locale -a 2>/dev/null | grep -qi "^${loc}\.utf-\?8$"; then
    echo "install-deps: generating the ${loc}.UTF-8 locale"
    "${sudo_cmd[@]}" sed -i "s/^# *\(${loc}.UTF-8 UTF-8\)/\1/" /etc/locale.gen
    grep -q "^${loc}.UTF-8 UTF-8" /etc/locale.gen || echo "${loc}.UTF-8 UTF-8" | "${sudo_cmd[@]}" tee -a /etc/locale.gen >/dev/null
    "${sudo_cmd[@]}" locale-gen >/dev/null
  fi
done
