#!/bin/bash
# Builds the benchmarks in a Release tree without sanitizers (build/bench)
# and runs them; extra arguments go to each benchmark program.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build/bench"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQM_SANITIZE=OFF >/dev/null
cmake --build "$build" -j2 --target DatabaseBenchmark PictureBenchmark
"$build/Benchmarks/DatabaseBenchmark" "$@"
"$build/Benchmarks/PictureBenchmark" "$@"
