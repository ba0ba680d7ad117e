#!/usr/bin/env bash
# Runs a cross-built Windows program under Wine, in a prefix of the build tree
# (WINEPREFIX, set by the tests; else ./wineprefix), created on first use.
set -eu
export WINEPREFIX="${WINEPREFIX:-$PWD/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
if ! command -v wine >/dev/null 2>&1; then
  echo "wine-run: Wine is not installed; cannot run $1" >&2
  exit 127
fi
mkdir -p "$(dirname "$WINEPREFIX")"
(
  flock 9
  if [ ! -f "$WINEPREFIX/.kalmor-ready" ]; then
    timeout 300 wineboot -i >/dev/null 2>&1 || true
    timeout 60 wineserver -w || true
    touch "$WINEPREFIX/.kalmor-ready"
  fi
) 9>"$WINEPREFIX.lock"
exec timeout --kill-after=10 "${KALMOR_WINE_TIMEOUT:-600}" wine "$@"
