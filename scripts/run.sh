#!/usr/bin/env bash
# Builds the add-on image and reshost, and opens files in reshost:
#   bash scripts/run.sh [reshost options] [FILE...]
# Without arguments it opens build/sample.rsrc, a resource file of several
# items that reshost writes on the first run. A real window when a display
# is there, headless otherwise (then it writes a snapshot and says where).
# Files are named relative to the folder it is run from.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" -j"$(nproc)" --target reshost HexDump
if [ $# -eq 0 ]; then
  sample=$root/build/sample.rsrc
  [ -f "$sample" ] || "$root/build/bin/reshost" --write-sample "$sample"
  set -- "$sample"
fi
exec "$root/build/bin/reshost" "$@"
