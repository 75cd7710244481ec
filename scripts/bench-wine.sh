#!/bin/bash
# Benchmarks of the Windows build under Wine (figures only, no assertions):
# ShowRecords filling the record list from 10,000 text notes, with the
# process's peak memory; decoding and fit-to-window painting of a
# 12-megapixel JPEG. Extra arguments: record count and number of runs.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build/windows"
cmake --preset windows -S "$root" >/dev/null
cmake --build "$build" -j2 --target ShowRecordsBenchmark PhotoPaintBenchmark
"$root/scripts/wine-run.sh" "$build/Tests/Managers/ShowRecordsBenchmark.exe" "$@"
"$root/scripts/wine-run.sh" "$build/Tests/Editors/PhotoPaintBenchmark.exe"
