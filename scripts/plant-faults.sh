#!/usr/bin/env bash
# Plants each fault of scripts/planted_faults.py in a scratch copy, one at a
# time, and tells whether the tests catch it. Options: scripts/plant-faults.sh --help
set -euo pipefail
exec python3 "$(dirname "$0")/plant-faults.py" "$@"
