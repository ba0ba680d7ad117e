#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the native
# build (warnings as errors), then both Windows builds under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh all

status=0
for preset in ci windows-x86 windows-x64; do
  echo "=== $preset"
  cmake --preset "$preset"
  cmake --build --preset "$preset" -j2
  ctest --preset "$preset" || status=1
done
exit $status
