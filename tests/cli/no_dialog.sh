#!/usr/bin/env bash
# A solver that crashes, or that the system cannot load, fails its run at once
# with its status named, in a Wine prefix as users have it: made by wineboot,
# Wine's debugger on, on a screen where the debugger's dialog could hold the
# run until the timeout. kalmor-check runs the window's own test, so this is
# the window's behaviour too.
#   no_dialog.sh RUNNER CHECK SOLVER MISSING_DLL_SOLVER WORK_FOLDER
# (behind wine-run.sh --when-runnable, which skips it where Wine cannot run it)
set -u
run=$1 check=$2 solver=$3 nodll=$4 work=$5
if ! command -v xvfb-run >/dev/null 2>&1; then
  echo "SKIPPED: xvfb-run is missing: without a screen Wine's debugger holds nothing (install xvfb and xauth)"
  exit 77
fi
# One virtual screen for all of it: the prefix's desktop, and with it every
# dialog, lives on the screen of the Wine program that started the prefix's
# server, so none may linger from an earlier run.
if [ -z "${KALMOR_NO_DIALOG_SCREEN:-}" ]; then
  KALMOR_NO_DIALOG_SCREEN=1 exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi
stop_prefix() {
  for server in wineserver wineserver-stable; do
    command -v "$server" >/dev/null 2>&1 && { timeout 30 "$server" -k >/dev/null 2>&1; break; }
  done
}
stop_prefix
case "${WINEDLLOVERRIDES:-}" in
  *winedbg*) echo "this prefix must keep Wine's debugger: WINEDLLOVERRIDES=$WINEDLLOVERRIDES"; exit 1 ;;
esac
rm -rf "$work" && mkdir -p "$work/crash" "$work/nodll" || exit 1
cp "$check" "$work/crash/kalmor-check.exe" && cp "$check" "$work/nodll/kalmor-check.exe" &&
  cp "$solver" "$work/crash/kmwin32.exe" && cp "$nodll" "$work/nodll/kmwin32.exe" || exit 1
printf '<Protokoll>\r\n' >"$work/crash/test_#3.INP"
printf '%%standin nowrite\r\n%%standin crash\r\n<Protokoll>\r\n' >"$work/crash/test_#4.INP"
printf '<Protokoll>\r\n' >"$work/nodll/test_#3.INP"

# Also makes the prefix, so that its first start is not timed.
if ! "$run" "$work/crash/kalmor-check.exe" --version >"$work/version.txt" 2>&1; then
  echo "kalmor-check --version did not run:"; cat "$work/version.txt"; exit 1
fi
grep -q 'winedbg --auto' "$WINEPREFIX/system.reg" || { echo "the prefix has no debugger"; exit 1; }

fail=0
# A run held by a dialog ends as aborted after 20 s; what Wine prints is not
# the checker's report.
check() {
  local folder=$1 expected=$2
  shift 2
  "$run" "$work/$folder/kalmor-check.exe" "$@" --build 32 --mode 1 --timeout 20 --lang en \
    >"$work/out.txt" 2>"$work/err.txt"
  local status=$?
  # A failure comes at once: within 5 s, Wine's start included.
  local seen
  seen=$(sed -E 's/  [0-9]+\.[0-9]+ s  /  T s  /; s/\r$//' "$work/out.txt")
  if [ "$status" != 1 ] || ! [[ $seen =~ ^$expected$ ]] ||
    grep -Eq '  failed  ([5-9]|[1-9][0-9]+)\.' "$work/out.txt"; then
    echo "$folder: status $status, expected 1 and"; echo "$expected"; echo "seen:"
    cat "$work/out.txt" "$work/err.txt"
    fail=1
  fi
}
why="Kalmor ended with exit code"
check crash "#3  32-Bit  mode 1  passed  T s  Kalmor stand-in: 0 lines solved
#4  32-Bit  mode 1  failed  T s  $why 0xC0000005 \(STATUS_ACCESS_VIOLATION[^)]*\) without writing KM.OUT.
2 runs: 1 passed, 1 failed, 0 aborted, 0 errors" --task all
check nodll "#3  32-Bit  mode 1  failed  T s  $why 0xC0000135 \(STATUS_DLL_NOT_FOUND[^)]*\) without writing KM.OUT.
1 runs: 0 passed, 1 failed, 0 aborted, 0 errors" --task 3

# Whatever a failure left in this test's own prefix (a debugger, its dialog) ends here.
stop_prefix
rm -rf "$work"
exit $fail
