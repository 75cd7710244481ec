#!/bin/bash
# EndToEndTests.sh QUILLMATE.exe PROBE.exe WORK_DIR
# Starts the real quillmate.exe under Wine as a user would, in a fresh prefix
# (and so a fresh data folder and registry) of its own under WORK_DIR, on a
# display of its own, and checks its life from outside: the first start, a
# second start while it runs, Exit answered Yes, the start at log-on (with
# /tray) that goes straight to the tray and rewrites an old Run value, a
# later start by the user that shows the window, and a first start again
# once "FirstTime" is deleted.
set -uo pipefail
exe="$(realpath "$1")"
source "$(dirname "$0")/../Support/WineScenario.sh" "$3" "$2" || exit 1

run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
marker_key='HKCU\Software\Ferrowind'
exe_windows="$(winepath -w "$exe" 2>/dev/null | tr -d '\r')"
run_value="\"$exe_windows\" /tray"

# --- first start ------------------------------------------------------------
wine "$exe" >/dev/null 2>&1 &
first=$!
check "first start shows the main window" test "$(probe main-window visible)" = visible
check "first start puts the icon in the notification area" test "$(probe tray-icon yes)" = yes
# The help viewer is started from a thread of its own once the window is up.
help_viewer_started() {
  local i
  for ((i = 0; i < 200; i++)); do
    pgrep -f 'quillmate\.chm' >/dev/null && return 0
    sleep 0.1
  done
  return 1
}
check "first start opens the help file" help_viewer_started

data="$(ls -d "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/Quillmate 2>/dev/null | head -1)"
check "the data folder exists" test -n "$data" -a -d "$data"
for folder in TextNotes AudioNotes VideoNotes PhotoAlbum FastText; do
  check "attachment folder $folder exists" test -d "$data/$folder"
done
for store in TextNotes AudioNotes VideoNotes PhotoAlbum TimeNotif EmailRes InternetRes FastText; do
  check "store $store.qmt is an empty 40-byte database" test "$(stat -c %s "$data/$store.qmt" 2>/dev/null)" = 40
done
check "FirstTime is Done" test "$(wait_reg "$marker_key" FirstTime Done)" = Done
check "the Run value holds the executable's path and /tray ($run_value)" \
  test "$(wait_reg "$run_key" quillmate.exe "$run_value")" = "$run_value"

# --- a second start while the first runs -------------------------------------
timeout 60 wine "$exe" >/dev/null 2>&1
check "a second start exits with code 0" test $? -eq 0
check "a second start makes no second main window" test "$(probe main-window-count)" = 1
check "the first instance still runs" kill -0 "$first"

# --- Exit answered Yes --------------------------------------------------------
check "Exit asks the question" test "$(probe exit)" = "question: Would you like to Exit Quillmate?"
wait_exit "$first"
check "Exit answered Yes ends the first process with code 0 ($code)" test "$code" = 0
check "no main window is left" test "$(probe main-window none)" = none

# --- the start at log-on: hidden in the tray ----------------------------------
# An older version's Run value, the bare path, gets the switch.
wine reg add "$run_key" /v quillmate.exe /d "$exe_windows" /f >/dev/null 2>&1
wine "$exe" /tray >/dev/null 2>&1 &
later=$!
check "the start at log-on has the icon in the notification area" test "$(probe tray-icon yes)" = yes
check "the start at log-on keeps the main window hidden in the tray" test "$(probe main-window held)" = held
check "it adds /tray to a Run value that names it without" \
  test "$(wait_reg "$run_key" quillmate.exe "$run_value")" = "$run_value"
timeout 60 wine "$exe" >/dev/null 2>&1
check "a second start while it is hidden exits with code 0" test $? -eq 0
check "and makes no second main window" test "$(probe main-window-count)" = 1
state="$(probe main-window visible)"
check "but brings the hidden main window back ($state)" test "$state" = visible
check "Exit of the restored program asks the question" \
  test "$(probe exit)" = "question: Would you like to Exit Quillmate?"
wait_exit "$later"
check "it ends with code 0 ($code)" test "$code" = 0

# --- a later start by the user (the Start menu): the window shows -------------
wine reg delete "$run_key" /v quillmate.exe /f >/dev/null 2>&1
wine "$exe" >/dev/null 2>&1 &
byuser=$!
check "a later start without /tray shows the main window" test "$(probe main-window visible)" = visible
check "and does not write the Run value" test -z "$(reg_value "$run_key" quillmate.exe)"
check "Exit of it asks the question" test "$(probe exit)" = "question: Would you like to Exit Quillmate?"
wait_exit "$byuser"
check "it ends with code 0 ($code)" test "$code" = 0

# --- FirstTime deleted: a first start again -----------------------------------
wine reg delete "$marker_key" /v FirstTime /f >/dev/null 2>&1
check "FirstTime is gone" test -z "$(reg_value "$marker_key" FirstTime)"
wine "$exe" >/dev/null 2>&1 &
again=$!
check "without FirstTime the main window shows again" test "$(probe main-window visible)" = visible
check "FirstTime is written again" test "$(wait_reg "$marker_key" FirstTime Done)" = Done
check "the Run value is written again" test "$(wait_reg "$run_key" quillmate.exe "$run_value")" = "$run_value"
check "and Exit ends it" test "$(probe exit)" = "question: Would you like to Exit Quillmate?"
wait_exit "$again"
check "with code 0 ($code)" test "$code" = 0

finish
