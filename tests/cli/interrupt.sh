#!/usr/bin/env bash
# Signals to kalmor-check during a run, natively or under Wine: each that would
# end it (natively every kind in the table; under Wine Ctrl+C) ends the solver
# with it, and the program says so, reports nothing after that (the run it ended
# is neither passed nor failed), and exits with 1. Natively also SIGKILL: the
# solver still ends, and what it left running keeps the folder busy, so the next
# kalmor-check is refused (exit 2) instead of passing on what the leftover writes.
# Under Wine a checker killed outright takes its solver, a child that named the
# checker as its parent, and its run lock with it.
#   interrupt.sh RUNNER CHECK SOLVER WORK_FOLDER   (RUNNER: env, or Wine's runner)
set -eu
run=$1 check=$2 solver=$3 work=$4/ctrl-c-$$
rm -rf "$4" && mkdir -p "$work"
cp "$check" "$work/kalmor-check.exe"
cp "$solver" "$work/kmwin32.exe"
solver_pattern="ctrl-c-$$.kmwin32.exe(\$|[^ ]| [^-])"  # not the solver's leftover
leftover_pattern="standin-child .*ctrl-c-$$"
# The program itself, not the launchers before it (env, timeout, wine, start.exe).
check_pattern="^[^ ]*ctrl-c-$$.kalmor-check.exe"
fail=0

start_check() {
  printf "$1" >"$work/test_#3.INP"
  "$run" "$work/kalmor-check.exe" --build 32 --lang en >"$work/out.txt" 2>"$work/err.txt" &
  launcher=$!
  for _ in $(seq 300); do pgrep -f "$solver_pattern" >/dev/null && return 0; sleep 0.1; done
  echo "the solver never started"; exit 1
}
# Wine may take a moment to take a killed process down on a busy machine.
solver_gone() {
  for _ in $(seq 100); do pgrep -f "$solver_pattern" >/dev/null || return 0; sleep 0.1; done
  echo "$1: the solver outlived kalmor-check"; pkill -KILL -f "$solver_pattern"; fail=1
}

signals=INT  # Wine turns SIGINT to a console program into its Ctrl+C event.
[ "$run" = env ] && signals="INT TERM HUP QUIT USR1 USR2 ALRM PIPE VTALRM RTMIN+1 $(kill -l RTMAX)"  # pkill knows no RTMAX
for sig in $signals; do
  start_check '%%standin sleep 30000\r\n<Protokoll>\r\n'
  pkill -"$sig" -f "$check_pattern"
  status=0
  wait "$launcher" || status=$?
  solver_gone "SIG$sig"
  [ "$status" = 1 ] || { echo "SIG$sig: exit status $status, not 1"; fail=1; }
  grep -q "Aborted: Kalmor was ended." "$work/err.txt" || { echo "SIG$sig: no notice"; fail=1; }
  if [ -s "$work/out.txt" ] || [ "$(grep -c . "$work/err.txt")" != 1 ]; then
    echo "SIG$sig: more than the notice:"; cat "$work/out.txt" "$work/err.txt"; fail=1
  fi
done

if [ "$run" = env ]; then
  start_check '%%standin latechild 1500\r\n%%standin sleep 30000\r\n<Protokoll>\r\n'
  for _ in $(seq 50); do pgrep -f "$leftover_pattern" >/dev/null && break; sleep 0.1; done
  pkill -KILL -f "$check_pattern"
  wait "$launcher" || true
  solver_gone SIGKILL
  # Its solver writes nothing, and runs past the moment the leftover writes KM.OUT.
  printf '%%standin sleep 2500\r\n%%standin nowrite\r\n<Protokoll>\r\n' >"$work/test_#3.INP"
  status=0
  "$work/kalmor-check.exe" --build 32 --lang en >"$work/out.txt" 2>&1 || status=$?
  if [ "$status" != 2 ] || ! grep -q "Another check is running in this folder" "$work/out.txt"; then
    echo "after SIGKILL, with a leftover running: exit status $status: $(cat "$work/out.txt")"; fail=1
  fi
  for _ in $(seq 50); do pgrep -f "$leftover_pattern" >/dev/null || break; sleep 0.1; done
else
  # Its solver has started a child that names the checker as its parent, so
  # that the child is in the checker's job, not the solver's.
  start_check '%%standin adoptedchild 30000\r\n%%standin sleep 30000\r\n<Protokoll>\r\n'
  for _ in $(seq 50); do pgrep -f "$leftover_pattern" >/dev/null && break; sleep 0.1; done
  pgrep -f "$leftover_pattern" >/dev/null || { echo "the adopted child never started"; fail=1; }
  pkill -KILL -f "$check_pattern" || true
  wait "$launcher" || true
  solver_gone SIGKILL
  for _ in $(seq 100); do pgrep -f "$leftover_pattern" >/dev/null || break; sleep 0.1; done
  if pgrep -f "$leftover_pattern" >/dev/null; then
    echo "SIGKILL: the adopted child outlived kalmor-check"; pkill -KILL -f "$leftover_pattern"; fail=1
  fi
  printf '<Protokoll>\r\n' >"$work/test_#3.INP"
  status=0
  "$run" "$work/kalmor-check.exe" --build 32 --lang en >"$work/out.txt" 2>&1 || status=$?
  [ "$status" = 0 ] || { echo "after SIGKILL: status $status: $(cat "$work/out.txt")"; fail=1; }
fi
rm -rf "$work"
exit $fail
