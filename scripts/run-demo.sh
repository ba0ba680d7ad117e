#!/usr/bin/env bash
# Builds the checker as it ships (the release preset: optimised and hardened)
# and opens it on the demo folder: the program beside our stand-in solver and
# the sample tasks.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh native
cmake --preset release >/dev/null
cmake --build --preset release -j2 --target demo
demo="$PWD/build/release/kalmor-demo"
if [ -z "${DISPLAY:-}" ]; then
  cat >&2 <<MSG
The checker is built in $demo, but there is no display to open its window on.
On a machine without a screen, run it on a virtual one and take a screenshot:
  xvfb-run -a -s "-screen 0 1024x768x24" sh -c '$demo/KalmorChecker & sleep 2; import -window root /tmp/checker.png; kill \$!'
or, from a desktop session, run:  $demo/KalmorChecker
MSG
  exit 2
fi
exec "$demo/KalmorChecker"
