#!/bin/bash
# Sets up the machine, builds both presets and runs every test: the native
# core with sanitizers (including a short fuzz run), then the Windows build
# under Wine. Ends with CTest's summary of the Windows run.
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh || exit 1

status=0
echo "== host: portable core with AddressSanitizer/UBSan =="
if cmake --preset host >/dev/null && cmake --build --preset host; then
  ctest --preset host -j2 || status=1
else
  status=1
fi

echo "== windows: MinGW-w64 i686 build, tests under Wine =="
if cmake --preset windows >/dev/null && cmake --build --preset windows; then
  # GUI tests share one virtual display and the keyboard focus: run them one at a time.
  ctest --preset windows || status=1
else
  status=1
fi
exit $status
