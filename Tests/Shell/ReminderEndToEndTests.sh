#!/bin/bash
# ReminderEndToEndTests.sh QUILLMATE.exe REMINDER_PROBE.exe WORK_DIR
# Reminders of the real quillmate.exe under Wine, in a fresh prefix of its own
# on Wine's virtual desktop, started as every start after the first (hidden
# in the tray). Records are seeded into its store before it starts; the probe
# plays the user: another program with the keyboard while a reminder falls
# due, OK, Snooze, a killed program, the setup program's exit request, and
# two hundred reminders due at once.
set -uo pipefail
exe="$(realpath "$1")"
source "$(dirname "$0")/../Support/WineScenario.sh" "$3" "$2" || exit 1

# A later start: hidden in the tray, no help file, no welcome.
wine reg add 'HKCU\Software\Ferrowind' /v FirstTime /d Done /f >/dev/null 2>&1
records() { probe records; }
has_line() { grep -qxF -- "$2" <<<"$1"; }
has_match() { grep -qE -- "$2" <<<"$1"; }

# --- due while another program has the keyboard; OK deletes -------------------
probe seed "Tea" "The tea is ready" 25 >/dev/null
wine "$exe" >/dev/null 2>&1 &
program=$!
# The user works in another program long after the start at log-on.
check "the program started" test "$(probe started)" = started
typing="$(probe typing Tea)"
echo "$typing" | sed 's/^/  helper: /'
check "the helper program had the foreground" has_line "$typing" "helper-foreground-before: yes"
check "the reminder appeared" has_line "$typing" "reminder: open"
check "text typed after it appeared reached the helper, spaces included" has_line "$typing" "text: [hello world ]"
check "the helper kept the foreground" has_line "$typing" "helper-foreground-after: yes"
check "the reminder did not take the foreground" has_line "$typing" "reminder-foreground: no"
check "keystrokes left the reminder open and its record stored" has_match "$(records)" '^Tea\|The tea is ready\|'
check "OK closes the reminder" test "$(probe press Tea ok)" = closed
check "OK deleted the record" test -z "$(records)"
check "the exit request is accepted" test "$(probe exit-request)" = accepted
wait_exit "$program"
check "and ends the program with code 0 ($code)" test "$code" = 0

# --- Snooze 5 minutes; killed while a reminder is open -------------------------
probe seed "Stretch" "Stand up" -5 >/dev/null
probe seed "Call Ann" "About Friday" -5 1 1 >/dev/null
wine "$exe" >/dev/null 2>&1 &
program=$!
check "two due reminders open at start" test "$(probe wait Stretch) $(probe wait 'Call Ann')" = "open open"
check "Snooze closes the reminder" test "$(probe press Stretch snooze 0)" = closed
line="$(records | grep '^Stretch|')"
left="${line##*|}"
check "Snooze 5 minutes sets the record's time to now + 300 s, within 2 s ($left)" \
  test -n "$left" -a "$left" -ge 298 -a "$left" -le 302
check "the snoozed reminder is not shown again now" test "$(probe count Stretch)" = 0
check "the snooze choice is remembered" test "$(reg_value 'HKCU\Software\Ferrowind' ReminderSnooze)" = 5
kill -9 "$program" 2>/dev/null
wait "$program" 2>/dev/null
check "the killed program is gone" test "$(probe count 'Call Ann')" = 0
check "the reminder open when it was killed stays stored" has_match "$(records)" '^Call Ann\|About Friday\|'

# --- the next start shows it again; the exit request does not wait for it -----
wine "$exe" >/dev/null 2>&1 &
program=$!
check "the next start shows the reminder again" test "$(probe wait 'Call Ann')" = open
check "and only that one" test "$(probe count Stretch)" = 0
check "an open reminder does not hold up the exit request" test "$(probe exit-request)" = accepted
wait_exit "$program"
check "the program ends with code 0 ($code)" test "$code" = 0
check "the reminder neither dismissed nor snoozed stays stored" has_match "$(records)" '^Call Ann\|'

# --- two hundred due at once ---------------------------------------------------
probe seed "Many" "" -5 200 >/dev/null
wine "$exe" >/dev/null 2>&1 &
program=$!
check "Call Ann comes first and goes with OK" test "$(probe press 'Call Ann' ok)" = closed
many="$(probe dismiss-all Many)"
check "two hundred due at once are each shown once, at most ten at a time ($many)" \
  test "$many" = "dismissed 200 distinct 200 twice 0 most-open 10"
check "only the snoozed record is left" test "$(records | cut -d'|' -f1)" = Stretch
check "the exit request ends it" test "$(probe exit-request)" = accepted
wait_exit "$program"
check "with code 0 ($code)" test "$code" = 0

finish
