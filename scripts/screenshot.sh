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
  # The virtual desktop is one X window named after it; wait for it to map.
  xdotool search --sync --onlyvisible --name '^Quillmate - Wine desktop$' >/dev/null 2>&1 &
  waiter=$!
  for _ in $(seq 1 200); do kill -0 $waiter 2>/dev/null || break; read -r -t 0.1 <> <(:) || true; done
  kill $waiter 2>/dev/null || true
  # Give the program time to paint its windows before the capture.
  read -r -t "${QM_SHOT_WAIT:-4}" <> <(:) || true
fi
import -display "$DISPLAY" -window root "$out"
echo "$out"
