#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the native
# build (warnings as errors), the native build under Address and Undefined
# Behavior Sanitizer with short fuzzing runs, both Windows builds under Wine,
# and the release build that the demo command runs (built only: it has no tests).
# Tests this host cannot run (32-bit Windows programs on a kernel without
# 32-bit support, for one) are skipped, and listed with the reason at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh all

status=0
skipped=()
for preset in ci asan windows-x86 windows-x64; do
  echo "=== $preset"
  cmake --preset "$preset"
  cmake --build --preset "$preset" -j2
  ctest --preset "$preset" | tee "build/$preset/ctest-output.txt" || status=1
  # ctest names what it skipped; the test's own output says why.
  while read -r name; do
    reason=$(awk -v name="$name" '
      $0 ~ "^[0-9]+/[0-9]+ Test: " { current = $3 }
      current == name && /SKIPPED: / { sub(/.*SKIPPED: /, ""); print; exit }
    ' "build/$preset/Testing/Temporary/LastTest.log")
    skipped+=("$preset $name: ${reason:-no reason given}")
  done < <(sed -n 's/^[[:space:]]*[0-9]* - \(.*\) (Skipped)$/\1/p' "build/$preset/ctest-output.txt")
done
echo "=== release (the demo's build)"
cmake --preset release
cmake --build --preset release -j2 --target demo || status=1
if [ ${#skipped[@]} -gt 0 ]; then
  echo "=== skipped: ${#skipped[@]} tests could not run on this host"
  printf '  %s\n' "${skipped[@]}"
fi
exit $status
