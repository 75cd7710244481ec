#!/bin/bash
# Benchmarks of the Windows build under Wine (figures only, no assertions):
# ShowRecords filling the record list from 10,000 text notes against a bare
# list-view fill of the same rows, in one process, with the ratio and the
# process's peak memory. Extra arguments: record count and number of rounds.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build/windows"
cmake --preset windows -S "$root" >/dev/null
cmake --build "$build" -j2 --target ShowRecordsBenchmark
"$root/scripts/wine-run.sh" "$build/Tests/Managers/ShowRecordsBenchmark.exe" "$@"
