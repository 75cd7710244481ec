#!/bin/bash
# Benchmarks of the Windows build under Wine (figures only, no assertions):
# ShowRecords filling the record list from 10,000 text notes against a bare
# list-view fill of the same rows, in one process, with the ratio and the
# process's peak memory (extra arguments: record count and number of rounds);
# a 20-minute recording from the null sound device, with the recording
# thread's processor time and the memory while it runs; the screen capture's
# frames per second against the rate asked and its processor share;
# a text note of 1 MB of mixed-format RTF opened, loaded and saved
# (QM_TEXT_NOTE_RUNS runs, default 1: Wine's rich edit takes minutes);
# decoding and fit-to-window painting of a 12-megapixel JPEG; sorting and
# type-ahead over 10,000 rows and the Find window's first hits; the cold start
# of quillmate.exe (first and later start) beside Wine's notepad, interleaved
# (QM_STARTUP_ROUNDS rounds, default 9), with the medians and ratios.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build/windows"
cmake --preset windows -S "$root" >/dev/null
cmake --build "$build" -j2 --target ShowRecordsBenchmark FindBenchmark WaveRecorderBenchmark TextNoteBenchmark ScreenCaptureBenchmark PhotoPaintBenchmark \
  StartupBenchmark quillmate
"$root/scripts/wine-run.sh" "$build/Tests/Managers/ShowRecordsBenchmark.exe" "$@"
"$root/scripts/wine-run.sh" "$build/Tests/Shell/FindBenchmark.exe"
"$root/scripts/wine-run.sh" "$build/Tests/Media/WaveRecorderBenchmark.exe" 20
"$root/scripts/wine-run.sh" "$build/Tests/Editors/TextNoteBenchmark.exe" "${QM_TEXT_NOTE_RUNS:-1}" 1024
"$root/scripts/wine-run.sh" "$build/Tests/Media/ScreenCaptureBenchmark.exe" 10
"$root/scripts/wine-run.sh" "$build/Tests/Editors/PhotoPaintBenchmark.exe"
# The start-up runs in a Wine prefix of its own (the first-start marker is
# set and deleted in turn, and a Quillmate left running by a test in the
# build's prefix would turn every start into "bring the other forward"); a
# copy of the program keeps the Run value pointing at a file that stays.
# The program is stripped of its debugging information, as the setup
# program installs it (measured side by side, the 14 MB of debugging
# sections made no difference that the noise did not hide).
startup_copy="$build/StartupBenchmark"; mkdir -p "$startup_copy"
cp "$build/Source/Shell/quillmate.chm" "$build/Tests/Shell/StartupBenchmark.exe" "$startup_copy/"
i686-w64-mingw32-strip -o "$startup_copy/quillmate.exe" "$build/Source/Shell/quillmate.exe"
touch "$startup_copy/CMakeCache.txt"  # makes the folder a tree of its own for wine-env.sh
"$root/scripts/wine-run.sh" "$startup_copy/StartupBenchmark.exe" \
  "$(source "$root/scripts/wine-env.sh" "$startup_copy" && winepath -w "$startup_copy/quillmate.exe")" "${QM_STARTUP_ROUNDS:-9}"

command -v strace >/dev/null || exit 0
# Linux system calls of the Wine process for n and 2n adds, and for a walk
# over n and 2n records, counted from its line "ready" on; requests to the
# (persistent, untraced) wineserver show as their write and read.
source "$root/scripts/wine-env.sh" "$build"
exe="$build/Tests/Managers/ShowRecordsBenchmark.exe"
wine_calls() {
  local log out
  log="$(mktemp)"; out="$(mktemp)"
  strace -f -qq -o "$log" wine "$exe" syscalls "$1" "$2" >"$out" 2>&1 </dev/null
  awk '/write\([0-9]+, "ready/ {on = 1; next} on' "$log" | wc -l
  rm -f "$log" "$out"
}
echo
for phase in add walk; do
  small=$(wine_calls "$phase" 1000)
  large=$(wine_calls "$phase" 2000)
  awk -v p="$phase" -v s="$small" -v l="$large" \
    'BEGIN { printf "system calls per %s: %.3f (strace of the Wine process)\n", (p == "walk" ? "walked record" : p), (l - s) / 1000 }'
done
