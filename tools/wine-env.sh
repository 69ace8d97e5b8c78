# Sourced by the Wine scripts: a private prefix under build/, the Japanese locale and a quiet Wine.
# The prefix is created once and reused; every window opens in a 1024x768 virtual desktop so that
# the move/size loop and caption drags work without a window manager.
repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="${QORV_WINEPREFIX:-$repo_root/build/wineprefix}"
export WINEDEBUG="${QORV_WINEDEBUG:--all}"
export WINEARCH=win64
# QORV_WINE_LANG runs a program in another locale (the English runs of the tests and pictures).
export LANG=${QORV_WINE_LANG:-ja_JP.UTF-8}
export LC_ALL=$LANG
export WINEDLLOVERRIDES="mscoree,mshtml=;winealsa.drv,winepulse.drv,wineoss.drv=d"
QORV_WINE64_LOADER=/usr/lib/wine/wine64
[ -x "$QORV_WINE64_LOADER" ] || QORV_WINE64_LOADER=$(command -v wine64 || true)
export QORV_WINE64_LOADER
# Every Wine program starts through the loader without address randomisation (tools/wine64.sh says why).
WINE64="$repo_root/tools/wine64.sh"
export WINE64

wine_prefix_ready() { [ -f "$WINEPREFIX/.qorv-ready" ]; }

wine_prefix_create() {
  wine_prefix_ready && return 0
  echo "wine: creating the prefix $WINEPREFIX (once)"
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  "$WINE64" wineboot -i >/dev/null 2>&1 || true
  "$WINE64" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
  "$WINE64" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
  wineserver -w
  cp /usr/share/wine/fonts/marlett.ttf /usr/share/wine/fonts/tahoma*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  touch "$WINEPREFIX/.qorv-ready"
}
