#!/usr/bin/env bash
# Runs a Windows test program on a virtual X screen, under Wine when an
# emulator (cmake/wine-run.sh) is given; WINEPREFIX comes from the test.
#   run_gui_test.sh <emulator or -> <folder to empty first, or -> <program> [arguments]
# Exits 77, which the tests count as skipped, when xvfb-run is missing or the
# emulator finds that Wine cannot run the program here.
set -u
emulator=$1
folder=$2
shift 2
if ! command -v xvfb-run >/dev/null 2>&1; then
  echo "SKIPPED: xvfb-run is missing, so no window can be shown here (install xvfb and xauth)"
  exit 77
fi
if [ "$folder" != - ]; then
  rm -rf "$folder" && mkdir -p "$folder" || exit 1
fi
runner=()
[ "$emulator" != - ] && runner=("$emulator")
status=0
xvfb-run -a -s "-screen 0 1024x768x24" "${runner[@]}" "$@" || status=$?
# Whatever a failed test left running in the GUI tests' prefix ends here, so
# the next test starts on a quiet prefix.
if [ "$emulator" != - ] && [ -n "${WINEPREFIX:-}" ]; then
  timeout 30 wineserver -k >/dev/null 2>&1 || true
  timeout 30 wineserver -w >/dev/null 2>&1 || true
fi
exit "$status"
