#!/bin/bash
# Benchmarks of the Windows build under Wine (figures only, no assertions):
# ShowRecords filling the record list from 10,000 text notes, with the
# process's peak memory (extra arguments: record count and number of runs);
# a 20-minute recording from the null sound device, with the recording
# thread's processor time and the memory while it runs; the screen capture's
# frames per second against the rate asked and its processor share;
# a text note of 1 MB of mixed-format RTF opened, loaded and saved
# (QM_TEXT_NOTE_RUNS runs, default 1: Wine's rich edit takes minutes).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build/windows"
cmake --preset windows -S "$root" >/dev/null
cmake --build "$build" -j2 --target ShowRecordsBenchmark WaveRecorderBenchmark TextNoteBenchmark ScreenCaptureBenchmark
"$root/scripts/wine-run.sh" "$build/Tests/Managers/ShowRecordsBenchmark.exe" "$@"
"$root/scripts/wine-run.sh" "$build/Tests/Media/WaveRecorderBenchmark.exe" 20
"$root/scripts/wine-run.sh" "$build/Tests/Editors/TextNoteBenchmark.exe" "${QM_TEXT_NOTE_RUNS:-1}" 1024
"$root/scripts/wine-run.sh" "$build/Tests/Media/ScreenCaptureBenchmark.exe" 10
