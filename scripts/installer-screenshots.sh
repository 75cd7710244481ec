#!/bin/bash
# installer-screenshots.sh OUT_DIR SETUP.exe
# PNGs of the setup program's pages as a user sees them: runs it (not silent)
# on Wine's virtual desktop in a fresh prefix of its own under OUT_DIR, steps
# through it with the Enter key (welcome, folder, finish with "Start
# Quillmate"), then runs the uninstaller the same way (confirmation, finish).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="$(realpath -m "$1")"
setup="$(realpath "$2")"
rm -rf "$out/prefix"
mkdir -p "$out/prefix"
unset DISPLAY WINEPREFIX WINESERVER
source "$root/scripts/wine-env.sh" "$out/prefix"
trap 'wineserver -k >/dev/null 2>&1 || true; kill "$(cat "$out/prefix/xvfb.pid")" 2>/dev/null || true' EXIT

# The pages are windows inside the one X window of the virtual desktop, which
# X cannot tell apart: wait for the desktop, then give each page time to
# come up and paint (QM_SHOT_WAIT seconds) before the capture.
shot() { # shot NAME
  timeout 30 xdotool search --sync --onlyvisible --name '^Quillmate' >/dev/null 2>&1 || true
  timeout "${QM_SHOT_WAIT:-3}" tail -f /dev/null || true
  import -display "$DISPLAY" -window root -crop 1024x768+0+0 +repage "$out/$1.png"
  echo "$out/$1.png"
}
# Enter, as a user presses it on the page's default button.
press_enter() {
  xdotool search --onlyvisible --name '^Quillmate' windowfocus --sync >/dev/null 2>&1 || true
  xdotool key Return
}

setsid wine explorer /desktop=Quillmate,1024x768 "$setup" >/dev/null 2>&1 &
QM_SHOT_WAIT=5 shot 1-welcome
press_enter
shot 2-folder
press_enter
QM_SHOT_WAIT=6 shot 3-finish
press_enter
QM_SHOT_WAIT=6 shot 4-started

install="$(ls -d "$WINEPREFIX"/drive_c/users/*/AppData/Local/Programs/Quillmate | head -1)"
setsid wine explorer /desktop=Quillmate,1024x768 "$install/Uninstall.exe" >/dev/null 2>&1 &
QM_SHOT_WAIT=5 shot 5-uninstall-confirm
press_enter
QM_SHOT_WAIT=6 shot 6-uninstall-finish
press_enter
