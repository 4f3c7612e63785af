#!/usr/bin/env bash
# Builds and opens the built-in sample document in reshost: in a real window
# when a display is there, headless otherwise (then it writes a snapshot and
# says where).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh
bash scripts/build.sh build
exec build/bin/reshost "$@"
