#!/usr/bin/env bash
# Runs every test: a normal build, an AddressSanitizer + UndefinedBehavior-
# Sanitizer build, and the threaded tests under ThreadSanitizer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh

run_suite() {
  local dir=$1; shift
  local filter=$1; shift
  bash scripts/build.sh "$dir" "$@"
  (cd "$dir" && ctest --output-on-failure -j"$(nproc)" ${filter:+-R "$filter"})
}

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1

echo "== normal build"
run_suite build "" 
echo "== AddressSanitizer + UndefinedBehaviorSanitizer build"
run_suite build-asan "" -DHEXDUMP_SANITIZE=ON -DHEXDUMP_BENCH=OFF
echo "== ThreadSanitizer build (threaded tests)"
run_suite build-tsan "Thread" -DHEXDUMP_TSAN=ON -DHEXDUMP_BENCH=OFF
