#!/usr/bin/env bash
# Ctrl+C to kalmor-check during a run, natively or under Wine: the solver goes
# with it, and the program says so, reports nothing after that (the run it
# ended is neither passed nor failed), and exits with 1.
#   interrupt.sh RUNNER CHECK SOLVER WORK_FOLDER   (RUNNER: env, or Wine's runner)
set -eu
run=$1 check=$2 solver=$3 work=$4/ctrl-c-$$
rm -rf "$4" && mkdir -p "$work"
cp "$check" "$work/kalmor-check.exe"
cp "$solver" "$work/kmwin32.exe"
printf '%%standin sleep 30000\r\n<Protokoll>\r\n' >"$work/test_#3.INP"
solver_pattern="ctrl-c-$$.kmwin32.exe"
# The program itself, not the launchers before it (env, timeout, wine, start.exe).
check_pattern="^[^ ]*ctrl-c-$$.kalmor-check.exe"

"$run" "$work/kalmor-check.exe" --build 32 --lang en >"$work/out.txt" 2>"$work/err.txt" &
launcher=$!
for _ in $(seq 300); do pgrep -f "$solver_pattern" >/dev/null && break; sleep 0.1; done
pgrep -f "$solver_pattern" >/dev/null || { echo "the solver never started"; exit 1; }
# Wine turns SIGINT to a console program into its Ctrl+C event.
pkill -INT -f "$check_pattern"
status=0
wait "$launcher" || status=$?
# Wine may take a moment to take a killed process down on a busy machine.
for _ in $(seq 100); do pgrep -f "$solver_pattern" >/dev/null || break; sleep 0.1; done
fail=0
[ "$status" = 1 ] || { echo "exit status $status, not 1"; fail=1; }
grep -q "Aborted: Kalmor was ended." "$work/err.txt" || { echo "no notice"; fail=1; }
if [ -s "$work/out.txt" ] || [ "$(grep -c . "$work/err.txt")" != 1 ]; then
  echo "more than the notice:"; cat "$work/out.txt" "$work/err.txt"; fail=1
fi
if pgrep -f "$solver_pattern" >/dev/null; then
  echo "the solver outlived kalmor-check"; pkill -KILL -f "$solver_pattern"; fail=1
fi
# Under Wine a checker killed outright takes its solver and its run lock with it.
if [ "$run" != env ]; then
  "$run" "$work/kalmor-check.exe" --build 32 --lang en >"$work/out.txt" 2>&1 &
  launcher=$!
  for _ in $(seq 300); do pgrep -f "$solver_pattern" >/dev/null && break; sleep 0.1; done
  pkill -KILL -f "$check_pattern" || true
  wait "$launcher" || true
  for _ in $(seq 100); do pgrep -f "$solver_pattern" >/dev/null || break; sleep 0.1; done
  pgrep -f "$solver_pattern" >/dev/null && { echo "SIGKILL: the solver outlived it"; fail=1; }
  printf '<Protokoll>\r\n' >"$work/test_#3.INP"
  status=0
  "$run" "$work/kalmor-check.exe" --build 32 --lang en >"$work/out.txt" 2>&1 || status=$?
  [ "$status" = 0 ] || { echo "after SIGKILL: status $status: $(cat "$work/out.txt")"; fail=1; }
fi
rm -rf "$work"
exit $fail
