#!/bin/bash
# screenshot.sh OUT.png [PROGRAM.exe [ARGS...]]
# Takes a PNG of what a user sees: starts PROGRAM (when given) on Wine's
# virtual desktop, which draws window frames, a taskbar and the notification
# area, waits until the desktop has windows on it and captures the screen.
# The program keeps running afterwards; QM_SHOT_WAIT sets the settle time.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="$(realpath -m "$1")"; shift
build="${QM_BUILD:-$root/build/windows}"
source "$root/scripts/wine-env.sh" "$build"
mkdir -p "$(dirname "$out")"

if [ $# -gt 0 ]; then
  setsid wine explorer /desktop=Quillmate,1024x768 "$@" >/dev/null 2>&1 &
  # The virtual desktop is one X window named after it; wait for it to map,
  # then give the program time to paint before the capture.
  timeout 30 xdotool search --sync --onlyvisible --name '^Quillmate' >/dev/null 2>&1 || true
  sleep "${QM_SHOT_WAIT:-4}"
fi
# The virtual desktop sits in the top left corner of the (larger) screen.
import -display "$DISPLAY" -window root -crop 1024x768+0+0 +repage "$out"
echo "$out"
