#!/usr/bin/env bash
# The Linux kalmor-check beside a Windows solver (the stand-in cross-built),
# which it runs through the system's Wine, in a prefix as a user has it: made
# by wineboot, Wine's debugger on, on a virtual screen where its dialog could
# hold a run. A pass, a failure and a crash named at once, in a folder with
# two blanks (split in modes 3 and 4 as on Windows); --timeout and a killed
# checker leave no process of the run, while the user's own Wine program in
# that prefix goes on; a file that is no program is refused.
#   wine_solver.sh CHECK WINDOWS_SOLVER WORK_FOLDER PREFIX
set -u
check=$1 solver=$2 work=$3
export WINEPREFIX=$4 WINEDEBUG=-all
[ -f "$(dirname "$check")/kalmor-wine-host.exe" ] && [ -f "$solver" ] ||
  { echo "SKIPPED: no kalmor-wine-host.exe or Windows stand-in was built (mingw-w64 missing)"; exit 77; }
command -v xvfb-run >/dev/null 2>&1 ||
  { echo "SKIPPED: xvfb-run is missing: without a screen Wine's debugger holds nothing"; exit 77; }
if [ -z "${KALMOR_WINE_SOLVER_SCREEN:-}" ]; then
  KALMOR_WINE_SOLVER_SCREEN=1 exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi
# The loader a user's 64-bit Wine program starts with here (as the checker chooses).
loader=""
for candidate in wine wine64 /usr/lib/wine/wine64; do
  "$candidate" --version >/dev/null 2>&1 && { loader=$(command -v "$candidate"); break; }
done
[ -n "$loader" ] || { echo "SKIPPED: no Wine loader runs 64-bit programs on this host"; exit 77; }
stop_prefix() { WINELOADER=$loader timeout 30 wineserver -k >/dev/null 2>&1; }
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  WINELOADER=$loader timeout 300 "$loader" wineboot -i >/dev/null 2>&1 ||
    { echo "making the prefix $WINEPREFIX failed"; exit 1; }
  WINELOADER=$loader timeout 60 wineserver -w  # the registry is on disk once the server ends
fi
grep -q 'winedbg --auto' "$WINEPREFIX/system.reg" || { echo "the prefix has no debugger"; exit 1; }

tag=wine-solver-$$
folder="$work/$tag/kalmor  run"
rm -rf "$work" && mkdir -p "$folder" "$work/$tag/user" || exit 1
cp "$check" "$(dirname "$check")/kalmor-wine-host.exe" "$work/$tag/" &&
  cp "$solver" "$folder/kmwin64.exe" && head -c 300 /dev/urandom >"$folder/kmwin32.exe" || exit 1
printf '<Protokoll>\r\n' >"$folder/test_#3.INP"
printf '%%standin nowrite\r\n%%standin crash\r\n<Protokoll>\r\n' >"$folder/test_#4.INP"
printf '%%standin nowrite\r\n%%standin exit 7\r\n<Protokoll>\r\n' >"$folder/test_s#7.INP"
run_check() { "$work/$tag/kalmor-check" --folder "$folder" --lang en "$@" >"$work/out.txt" 2>"$work/err.txt"; }
run_check --task 3 --build 64 --mode 1  # starts the prefix's servers, so the runs below are timed alone
fail=0
grep -qF 'Z:\' "$folder/KM.OUT" || { echo "the solver was not given the input's Windows name:"; cat "$work/out.txt"; fail=1; }
# A failure comes at once: within 5 s, Wine's start included.
expect() {
  local expected_status=$1 expected=$2 status seen
  shift 2
  run_check "$@"
  status=$?
  seen=$(sed -E 's/  [0-9]+\.[0-9]+ s  /  T s  /' "$work/out.txt")
  if [ "$status" != "$expected_status" ] || ! [[ $seen =~ ^$expected$ ]] ||
    grep -Eq '  failed  ([5-9]|[1-9][0-9]+)\.' "$work/out.txt"; then
    echo "kalmor-check $*: status $status, expected $expected_status and"; echo "$expected"
    echo "seen:"; cat "$work/out.txt" "$work/err.txt"; fail=1
  fi
}
passed="passed  T s  Kalmor stand-in: 0 lines solved"
why="failed  T s  Kalmor ended with exit code"
expect 1 "#3  64-Bit  mode 1  $passed
#4  64-Bit  mode 1  $why 0xC0000005 \(STATUS_ACCESS_VIOLATION[^)]*\) without writing KM.OUT.
s#7  64-Bit  mode 1  $why 7 without writing KM.OUT.
3 runs: 1 passed, 2 failed, 0 aborted, 0 refused, 0 errors" --task all --build 64 --mode 1 --timeout 20
expect 1 "#3  64-Bit  mode 1  $passed
#3  64-Bit  mode 2  $passed
#3  64-Bit  mode 3  $why 2 without writing KM.OUT.
#3  64-Bit  mode 4  $why 2 without writing KM.OUT.
4 runs: 2 passed, 2 failed, 0 aborted, 0 refused, 0 errors" --task 3 --build 64 --mode all --timeout 20
expect 2 "#3  32-Bit  mode 1  error  T s  The chosen Kalmor build is neither a Linux nor a Windows program; the test does not start.
1 runs: 0 passed, 0 failed, 0 aborted, 0 refused, 1 errors" --task 3 --build 32 --mode 1

# A Wine program of the user's goes on in that prefix, whatever ends a run.
printf '%%standin sleep 60000\r\n' >"$work/$tag/user/T.INP"
cp "$solver" "$work/$tag/user/userprog.exe"
(cd "$work/$tag/user" && exec "$loader" userprog.exe T.INP >/dev/null 2>&1) &
user=$!
printf '%%standin sleep 60000\r\n<Protokoll>\r\n' >"$folder/test_#3.INP"
solver_pattern="$tag.kalmor  run.kmwin64"
run_gone() {
  for _ in $(seq 50); do pgrep -f "$solver_pattern" >/dev/null || return 0; sleep 0.1; done
  echo "$1: the run's solver outlived it"; pkill -KILL -f "$solver_pattern"; fail=1
}
expect 1 "#3  64-Bit  mode 1  aborted  T s  Test has been aborted
1 runs: 0 passed, 0 failed, 1 aborted, 0 refused, 0 errors" --task 3 --build 64 --mode 1 --timeout 2
run_gone "--timeout"
run_check --task 3 --build 64 --mode 1 &
checker=$!
for _ in $(seq 100); do pgrep -f "$solver_pattern" >/dev/null && break; sleep 0.1; done
kill -KILL "$checker"
wait "$checker" 2>/dev/null
run_gone "SIGKILL of kalmor-check"
pgrep -f "userprog.exe T.INP" >/dev/null || { echo "the user's Wine program ended with a run"; fail=1; }
kill -KILL "$user" 2>/dev/null
stop_prefix
rm -rf "$work"
exit $fail
