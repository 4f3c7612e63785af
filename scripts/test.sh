#!/usr/bin/env bash
# Runs every test: the formatting check, a normal build, an AddressSanitizer +
# UndefinedBehaviorSanitizer build, and the threaded tests under
# ThreadSanitizer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh
# A compiler cache, where one is installed, makes rebuilds of unchanged
# sources cheap; the tests do not depend on it.
if command -v ccache >/dev/null; then
  export CMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER:-ccache}
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$root}
fi

# Every tracked source already follows .clang-format; a difference fails here,
# before anything is built.
echo "== formatting"
git ls-files -z -- '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror

# run_suite BUILD_DIR FILTER TARGETS [cmake options...]: builds TARGETS ("all"
# for everything) and runs the tests whose names match FILTER ("" for all).
run_suite() {
  local dir=$1 filter=$2 targets=$3; shift 3
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$dir" -j"$(nproc)" --target $targets
  (cd "$dir" && ctest --output-on-failure --no-tests=error -j"$(nproc)" ${filter:+-R "$filter"})
}

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$root/scripts/lsan.supp
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1

echo "== normal build"
run_suite build "" all
echo "== AddressSanitizer + UndefinedBehaviorSanitizer build"
# The random sequences run in full in the normal build; a quarter of them
# here, where the same code runs several times slower.
HEXDUMP_RANDOM_DIVISOR=4 run_suite build-asan "" all -DHEXDUMP_SANITIZE=ON -DHEXDUMP_BENCH=OFF
echo "== ThreadSanitizer build (threaded tests)"
run_suite build-tsan "Thread" "platform_tests editor_tests e2e_tests" -DHEXDUMP_TSAN=ON -DHEXDUMP_BENCH=OFF
