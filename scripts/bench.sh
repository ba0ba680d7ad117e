#!/usr/bin/env bash
# Builds the benchmarks and runs them all, then fuzzes each fuzz target far
# longer than the test command does, and prints one table:
#   | figure | measured | goal | verdict |
# Usage: scripts/bench.sh [runs scale, default 1]
# FUZZ_SECONDS sets the fuzzing time per target (default 60; 0 skips it).
# Figures are only as quiet as the machine: check the load average printed.
set -euo pipefail
cd "$(dirname "$0")/.."
scale="${1:-1}"
fuzz_seconds="${FUZZ_SECONDS:-60}"
scripts/install-deps.sh native >&2

echo "bench: building build/bench" >&2
cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKALMOR_WERROR=ON \
  -DKALMOR_BUILD_BENCH=ON -DKALMOR_BUILD_GUI=ON -DKALMOR_BUILD_TESTS=OFF >/dev/null
cmake --build build/bench -j2 \
  --target kalmor_bench startup_probe spawn_probe window_map_probe standin_solver kalmor-check demo >/dev/null

cpu=$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')
load=$(cut -d' ' -f1-3 /proc/loadavg)
echo "Machine: $(nproc) cores, $cpu, Linux $(uname -r), load average $load"
echo
echo "| figure | measured | goal | verdict |"
echo "|---|---|---|---|"
build/bench/bench/kalmor_bench build/bench/tools/standin_solver/standin_solver \
  build/bench/bench/startup_probe "$scale" build/bench/app/kalmor-check build/bench/bench/spawn_probe

# A Windows solver beside the Linux checker, through Wine, in a prefix of its own.
WINEPREFIX="$PWD/build/bench/wineprefix-linux-checker" bench/wine_solver_bench.sh \
  "$PWD/build/bench/app/kalmor-check" "$PWD/build/bench/wine-host/tools/standin_solver/standin_solver.exe" \
  "$PWD/build/bench/wine-solver-bench" "$scale"

# The real program under a virtual X server, measured by the server's MapNotify.
if ! xvfb-run -a -s "-screen 0 1024x768x24" \
    build/bench/bench/window_map_probe build/bench/kalmor-demo/KalmorChecker 20; then
  echo "| Start-up, FLTK program | not measured (see the error above) | - | - |"
fi

for arch in x86 x64; do
  exe=$(find "build/windows-$arch" -name KalmorChecker.exe -print -quit 2>/dev/null || true)
  if [ -n "$exe" ]; then
    echo "| Windows $arch program size ($exe) | $(stat -c %s "$exe") bytes | - | info |"
  else
    echo "| Windows $arch program size | not built (no build/windows-$arch) | - | - |"
  fi
done

# The Windows timings and soak under Wine, in the 32-bit cross build where this
# host runs it, else in the 64-bit one.
windows_build=""
for arch in x86 x64; do
  probe=build/windows-$arch/wine_probe.exe
  if [ -z "$windows_build" ] && [ -f "$probe" ] &&
     (cd "build/windows-$arch" && "$OLDPWD/cmake/wine-run.sh" --when-runnable "$OLDPWD/$probe" true) 2>/dev/null; then
    windows_build=build/windows-$arch
  fi
done
if [ -n "$windows_build" ]; then
  echo "bench: building the Windows soak in $windows_build" >&2
  cmake "$windows_build" -DKALMOR_BUILD_BENCH=ON >/dev/null
  cmake --build "$windows_build" -j2 --target win32_soak win32_timings standin_solver >/dev/null
  for bench in win32_timings win32_soak; do
    WINEPREFIX="$PWD/$windows_build/wineprefix" KALMOR_WINE_TIMEOUT=1800 \
      cmake/wine-run.sh "$windows_build/bench/$bench.exe" \
      "Z:$PWD/$windows_build/tools/standin_solver/standin_solver.exe" "$scale"
  done
else
  echo "| Windows timings and soak (Wine) | not measured (no Windows build that Wine runs here) | - | - |"
fi

[ "$fuzz_seconds" -gt 0 ] || exit 0
echo "bench: building the fuzz targets in build/asan" >&2
targets=(get_field message_lookup task_rewrite first_line windows_command_line)
cmake --preset asan >/dev/null
cmake --build --preset asan --target "${targets[@]/#/fuzz_}" >/dev/null
dir=build/asan/tests/fuzz
for t in "${targets[@]}"; do
  inputs=("tests/fuzz/corpus/$t")
  [ -d "tests/fuzz/regressions/$t" ] && inputs+=("tests/fuzz/regressions/$t")
  log="$dir/long_$t.log"
  if "$dir/fuzz_$t" -max_total_time="$fuzz_seconds" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$dir/fuzz_$t-" "$dir/found/$t" "${inputs[@]}" \
      >"$log" 2>&1; then
    result="no crash"; verdict=met
  else
    result="CRASH, see $log"; verdict="NOT MET"
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  echo "| Fuzzing $t for $fuzz_seconds s (ASan+UBSan) | ${runs:-?} inputs, $result" \
    "| no crash | $verdict |"
done
