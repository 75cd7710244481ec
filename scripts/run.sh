#!/bin/bash
# Sets up, builds the Windows preset and starts Quillmate under Wine in the
# build tree's private prefix (its data lives there, never in ~/.wine).
# Without a display it runs on a virtual one and saves a screenshot.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows

build="$PWD/build/windows"
exe="$build/Source/Shell/quillmate.exe"
if [ ! -f "$exe" ]; then
  echo "run: quillmate.exe is not built yet; showing what exists: qmdb.exe --help"
  exec scripts/wine-run.sh "$build/Tools/qmdb.exe" --help
fi

if [ -z "${DISPLAY:-}" ]; then
  shot="$build/screenshots/run.png"
  scripts/screenshot.sh "$shot" "$exe"
  echo "run: no display; Quillmate runs on a virtual display. Screenshot: $shot"
  echo "run: press Ctrl-C to stop it."
  source scripts/wine-env.sh "$build"
  wineserver -w
else
  source scripts/wine-env.sh "$build"
  exec wine explorer /desktop=Quillmate,1024x768 "$exe"
fi
