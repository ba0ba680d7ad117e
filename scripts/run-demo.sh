#!/usr/bin/env bash
# Builds the checker and opens it on the demo folder: the program beside our
# stand-in solver and the sample tasks.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh native
cmake --preset dev >/dev/null
cmake --build --preset dev -j2 --target demo
demo="$PWD/build/dev/demo"
if [ -z "${DISPLAY:-}" ]; then
  cat >&2 <<MSG
The checker is built in $demo, but there is no display to open its window on.
On a machine without a screen, run it under a virtual one:
  xvfb-run -a -s "-screen 0 1024x768x24" $demo/KalmorChecker &
  sleep 2; import -window root /tmp/checker.png    # a screenshot to look at
or log in to a desktop session and run:  $demo/KalmorChecker
MSG
  exit 2
fi
exec "$demo/KalmorChecker"
