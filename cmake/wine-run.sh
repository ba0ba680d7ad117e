#!/usr/bin/env bash
# Runs a cross-built Windows program under Wine, in a prefix of the build tree
# (WINEPREFIX, set by the tests; else wineprefix in the build folder that holds
# the current folder, so that build steps share one), created on first use.
#   wine-run.sh PROGRAM [ARGUMENTS]
#   wine-run.sh --when-runnable PROGRAM COMMAND [ARGUMENTS]
# The second form runs COMMAND (a test script that starts PROGRAM through this
# runner) only where Wine can run PROGRAM here.
# KALMOR_WINE_VERSION (win7, win10, ...) sets the Windows version the prefix
# reports. Where this host cannot run the program under Wine (Wine missing, or
# a 32-bit program on a kernel that runs no 32-bit code) it says why in one
# line and exits 77, which the tests count as skipped; a prefix that cannot be
# made is a failure, with Wine's own words.
set -eu
build_folder() {
  local folder=$PWD
  while [ "$folder" != / ] && [ ! -f "$folder/CMakeCache.txt" ]; do folder=$(dirname "$folder"); done
  [ -f "$folder/CMakeCache.txt" ] && echo "$folder" || echo "$PWD"
}
skip() {
  echo "wine-run: SKIPPED: $*" >&2
  exit 77
}
# 32 or 64 for a Windows program, from its PE header; nothing for anything else.
pe_width() {
  [ -f "$1" ] || return 0
  local offset signature machine
  offset=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ')
  [ -n "$offset" ] || return 0
  signature=$(od -An -tx1 -j"$offset" -N4 "$1" 2>/dev/null | tr -d ' ')
  [ "$signature" = 50450000 ] || return 0
  machine=$(od -An -tx2 -j$((offset + 4)) -N2 "$1" 2>/dev/null | tr -d ' ')
  case $machine in
    014c) echo 32 ;;
    8664) echo 64 ;;
  esac
}

gate=no
if [ "${1:-}" = --when-runnable ]; then
  gate=yes
  shift
fi
[ $# -gt 0 ] || { echo "usage: wine-run.sh [--when-runnable] PROGRAM [ARGUMENTS]" >&2; exit 2; }
program=$1

export WINEPREFIX="${WINEPREFIX:-$(build_folder)/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
# No debugger: a crashing program ends with its status, as on a machine
# without one. Tests of what a user's prefix does set their own overrides.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml,winedbg.exe=}"
command -v wine >/dev/null 2>&1 ||
  skip "Wine is not installed, so $(basename "$program") cannot run here (install wine, wine64 and, where this host runs 32-bit code, wine32:i386)"

# Loaders to try, in order. Debian's wine picks its 32-bit loader whenever that
# is installed, which fails at once on a kernel without 32-bit support; its
# 64-bit loader, started directly, runs 64-bit programs there.
width=$(pe_width "$program")
loaders=(wine)
if [ "$width" != 32 ]; then
  for candidate in "$(command -v wine64 || true)" /usr/lib/wine/wine64 /usr/lib64/wine/wine64; do
    [ -n "$candidate" ] && [ -x "$candidate" ] && loaders+=("$candidate")
  done
fi
width=${width:-64}
probe=$(build_folder)/wine_probe.exe
[ "$(pe_width "$probe")" = "$width" ] || probe=""

mkdir -p "$(dirname "$WINEPREFIX")"
# What this host's Wine does with a program of this width, found out once per
# prefix by a real start: "ok LOADER" or "skip REASON".
verdict_file=$WINEPREFIX.can-run-$width
(
  flock 9
  if [ ! -f "$verdict_file" ]; then
    reason=""
    for loader in "${loaders[@]}"; do
      if [ ! -f "$WINEPREFIX/.kalmor-ready" ]; then
        status=0
        output=$(WINELOADER=$loader timeout 300 "$loader" wineboot -i 2>&1) || status=$?
        if [ $status -eq 126 ] || [[ $output == *"Exec format error"* ]]; then
          reason="this kernel cannot start $loader (${output##*: })"
          continue
        fi
        if [ $status -ne 0 ]; then
          echo "wine-run: making the Wine prefix $WINEPREFIX with $loader failed (exit $status):" >&2
          echo "$output" | tail -n 5 >&2
          exit 1
        fi
        WINELOADER=$loader timeout 60 wineserver -w || true
        touch "$WINEPREFIX/.kalmor-ready"
      fi
      # A tiny program of this width, where the build made one; else the loader itself.
      status=0
      if [ -n "$probe" ]; then
        output=$(WINELOADER=$loader timeout 120 "$loader" "$probe" 2>&1) || status=$?
        [[ $output == *kalmor-wine-probe* ]] || [ $status -ne 0 ] || status=1
      else
        output=$("$loader" --version 2>&1) || status=$?
      fi
      if [ $status -ne 0 ]; then
        reason="$loader did not run it (exit $status: $(echo "$output" | tail -n 1))"
        continue
      fi
      echo "ok $loader" >"$verdict_file"
      break
    done
    [ -f "$verdict_file" ] || echo "skip ${reason:-no Wine loader runs $width-bit programs here}" >"$verdict_file"
  fi
  read -r verdict loader <"$verdict_file"
  [ "$verdict" = ok ] || exit 0
  export WINELOADER=$loader
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
    timeout 120 "$loader" winecfg -v "$version" >/dev/null 2>&1
    timeout 60 wineserver -w || true
    echo "$version" >"$WINEPREFIX/.kalmor-version"
  fi
) 9>"$WINEPREFIX.lock"
read -r verdict loader <"$verdict_file"
[ "$verdict" = ok ] ||
  skip "$(basename "$program") is a $width-bit Windows program, which this host cannot run under Wine: $loader"
if [ $gate = yes ]; then
  shift
  exec "$@"
fi
export WINELOADER=$loader
exec timeout --kill-after=10 "${KALMOR_WINE_TIMEOUT:-600}" "$loader" "$@"
