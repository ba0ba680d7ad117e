#!/usr/bin/env bash
# The Linux kalmor-check beside a Windows solver (the stand-in cross-built),
# through Wine, in the prefix WINEPREFIX (made first if new; its first start
# is not timed). Prints table rows:
#  - a run through the checker against the same loader starting the solver
#    directly on the same input, in turns: the median of the pair ratios.
#    Workload: the stand-in reads the task and sleeps 3 s, a short solve
#    (the demo's s#7); the added time per run is printed too.
#  - Stop: kalmor-check --timeout presses it into a run of a sleeping solver;
#    its reported time less the timeout is Stop's (the press to the run's end,
#    the launcher ended and reaped; up to one 10 ms wait slice included).
#   wine_solver_bench.sh CHECK WINDOWS_SOLVER WORK_FOLDER [runs scale]
set -eu
check=$1 solver=$2 work=$3 scale=${4:-1}
export WINEDEBUG=-all
if [ ! -f "$(dirname "$check")/kalmor-wine-host.exe" ] || [ ! -f "$solver" ]; then
  echo "| Windows solver through Wine | not measured (no kalmor-wine-host.exe: mingw-w64 missing) | - | - |"
  exit 0
fi
loader=""
for candidate in wine wine64 /usr/lib/wine/wine64; do
  "$candidate" --version >/dev/null 2>&1 && { loader=$(command -v "$candidate"); break; }
done
if [ -z "$loader" ]; then
  echo "| Windows solver through Wine | not measured (no Wine loader runs 64-bit programs here) | - | - |"
  exit 0
fi
rm -rf "$work" && mkdir -p "$work"
cp "$solver" "$work/kmwin64.exe"
run_check() { "$check" --folder "$work" --task 3 --build 64 --mode 1 --lang en "$@"; }
printf '%%standin sleep 3000\r\n<Protokoll>\r\n' >"$work/test_#3.INP"
run_check >/dev/null  # starts the prefix's servers; TMP_INPUT.INP is the direct run's input too

pairs=$(awk -v s="$scale" 'BEGIN { n = int(10 * s); print n < 3 ? 3 : n }')
ratios=() added=()
for _ in $(seq "$pairs"); do
  t0=$EPOCHREALTIME; run_check >/dev/null; t1=$EPOCHREALTIME
  (cd "$work" && "$loader" kmwin64.exe "Z:$work/TMP_INPUT.INP" >/dev/null 2>&1); t2=$EPOCHREALTIME
  ratios+=("$(echo "$t0 $t1 $t2" | awk '{printf "%.4f", ($2 - $1) / ($3 - $2)}')")
  added+=("$(echo "$t0 $t1 $t2" | awk '{printf "%.0f", (($2 - $1) - ($3 - $2)) * 1000}')")
done
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}'; }
median=$(median "${ratios[@]}")
verdict=$(awk -v m="$median" 'BEGIN { print m <= 1.05 ? "met" : "NOT MET" }')
echo "| Windows solver through the checker: time added to a run, median | $(median "${added[@]}") ms | - | info |"
echo "| Windows solver (3 s solve) through the checker / \`$(basename "$loader") kmwin64.exe\` directly, median of $pairs pair ratios | $median | ≤ 1.05 | $verdict |"

printf '%%standin sleep 60000\r\n<Protokoll>\r\n' >"$work/test_#3.INP"
stops=()
for _ in $(seq "$(awk -v s="$scale" 'BEGIN { n = int(20 * s); print n < 5 ? 5 : n }')"); do
  seconds=$(run_check --timeout 0.5 | awk '/  aborted  / {print $(NF - 5)}')
  stops+=("$(echo "$seconds" | awk '{printf "%.1f", ($1 - 0.5) * 1000}')")
done
sorted=$(printf '%s\n' "${stops[@]}" | sort -n)
p50=$(echo "$sorted" | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}')
p99=$(echo "$sorted" | awk '{a[NR] = $1} END {i = int(NR * 0.99 + 0.999); print a[(i > NR ? NR : i)]}')
verdict=$(awk -v p="$p99" 'BEGIN { print p < 50 ? "met" : "NOT MET" }')
echo "| Stop through Wine: press to run ended, p50 / p99 (${#stops[@]} runs) | $p50 / $p99 ms | p99 < 50 ms | $verdict |"
rm -rf "$work"
