#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the native
# build (warnings as errors), the native build under Address and Undefined
# Behavior Sanitizer with short fuzzing runs, both Windows builds under Wine,
# and the release build that the demo command runs (built only: it has no tests).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh all

status=0
for preset in ci asan windows-x86 windows-x64; do
  echo "=== $preset"
  cmake --preset "$preset"
  cmake --build --preset "$preset" -j2
  ctest --preset "$preset" || status=1
done
echo "=== release (the demo's build)"
cmake --preset release
cmake --build --preset release -j2 --target demo || status=1
exit $status
