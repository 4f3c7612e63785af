#!/usr/bin/env bash
# Builds the benchmarks in Release (-O3) in build-bench/ and runs them: the
# median of 11 repetitions of every figure, then the ratios between figures
# of this run. Extra arguments go to the benchmark program, e.g.
# --benchmark_filter=key/hex.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh
if command -v ccache >/dev/null; then
  export CMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER:-ccache}
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$root}
fi
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DHEXDUMP_BENCH=ON >/dev/null
cmake --build build-bench -j"$(nproc)" --target hexdump_bench reshost HexDump
echo "machine: $(nproc) cores, $(lscpu | sed -n 's/^Model name: *//p' | head -1)"
build-bench/bin/hexdump_bench --benchmark_color=false "$@"
