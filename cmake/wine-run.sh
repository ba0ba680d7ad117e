#!/usr/bin/env bash
# Runs a cross-built Windows program under Wine, in a prefix of the build tree
# (WINEPREFIX, set by the tests; else wineprefix in the build folder that holds
# the current folder, so that build steps share one), created on first use.
# KALMOR_WINE_VERSION (win7, win10, ...) sets the Windows version the prefix
# reports. Without Wine it exits 77, which the tests count as skipped.
set -eu
build_folder() {
  local folder=$PWD
  while [ "$folder" != / ] && [ ! -f "$folder/CMakeCache.txt" ]; do folder=$(dirname "$folder"); done
  [ -f "$folder/CMakeCache.txt" ] && echo "$folder" || echo "$PWD"
}
export WINEPREFIX="${WINEPREFIX:-$(build_folder)/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
# No debugger: a crashing program ends with its status, as on a machine without one.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml,winedbg.exe=}"
if ! command -v wine >/dev/null 2>&1; then
  echo "wine-run: SKIPPED: Wine is not installed, so $1 cannot run here" \
    "(install wine, wine32:i386 and wine64)" >&2
  exit 77
fi
mkdir -p "$(dirname "$WINEPREFIX")"
(
  flock 9
  if [ ! -f "$WINEPREFIX/.kalmor-ready" ]; then
    timeout 300 wineboot -i >/dev/null 2>&1 || true
    timeout 60 wineserver -w || true
    touch "$WINEPREFIX/.kalmor-ready"
  fi
  # Wine's own fonts (Tahoma, the dialog font; Marlett, the title bar's
  # buttons): Debian's fonts-wine puts them in a folder this Wine does not
  # read, so without a copy every text is drawn in a substitute.
  fonts=/usr/share/wine/fonts
  if [ -d "$fonts" ] && [ ! -f "$WINEPREFIX/.kalmor-fonts" ]; then
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    find "$fonts" -maxdepth 1 -type f \( -name '*.ttf' -o -name '*.fon' \) \
      -exec cp -p -t "$WINEPREFIX/drive_c/windows/Fonts" {} +
    touch "$WINEPREFIX/.kalmor-fonts"
  fi
  version="${KALMOR_WINE_VERSION:-}"
  if [ -n "$version" ] && [ "$(cat "$WINEPREFIX/.kalmor-version" 2>/dev/null)" != "$version" ]; then
    # winecfg also writes the registry's version and product name to match.
    timeout 120 wine winecfg -v "$version" >/dev/null 2>&1
    timeout 60 wineserver -w || true
    echo "$version" >"$WINEPREFIX/.kalmor-version"
  fi
) 9>"$WINEPREFIX.lock"
exec timeout --kill-after=10 "${KALMOR_WINE_TIMEOUT:-600}" wine "$@"
