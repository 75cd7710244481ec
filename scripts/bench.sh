#!/bin/bash
# Builds the benchmarks in a Release tree without sanitizers (build/bench)
# and runs them: the stores side by side with SQLite, and qmdb check over a
# region of zeros (extra arguments go to this one: rounds, record counts);
# qmdb export of 30,000 records; qmdb find against grep over a data folder
# of 80,000 records with their bodies. Then, when strace is there, the system calls
# of one add and of one walked record.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build/bench"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQM_SANITIZE=OFF >/dev/null
nice cmake --build "$build" -j2 --target StoreBenchmark QmdbExportBenchmark PictureBenchmark SearchBenchmark qmdb
bench="$build/Benchmarks/StoreBenchmark"
"$bench" "$@"
"$build/Benchmarks/QmdbExportBenchmark"
"$build/Benchmarks/PictureBenchmark"
# The data folder is made once and kept for later runs.
"$build/Benchmarks/SearchBenchmark" "$build/Tools/qmdb/qmdb" "$build/search-data"

command -v strace >/dev/null || exit 0
# System calls of a phase over n and 2n records, counted from the line
# "ready" on: the difference is what n records cost, without the start-up.
calls() {
  local phase="$1" count="$2" log
  log="$(mktemp)"
  strace -f -qq -o "$log" "$bench" syscalls "$phase" "$count" >/dev/null
  awk '/write\(1, "ready/ {on = 1; next} on' "$log" | wc -l
  rm -f "$log"
}
echo
for phase in add walk re-add; do
  small=$(calls "$phase" 1000)
  large=$(calls "$phase" 2000)
  awk -v p="$phase" -v s="$small" -v l="$large" \
    'BEGIN { printf "system calls per %s: %.2f (strace, natively)\n", (p == "walk" ? "walked record" : p), (l - s) / 1000 }'
done
