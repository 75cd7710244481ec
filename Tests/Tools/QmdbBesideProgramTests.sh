#!/bin/bash
# QmdbBesideProgramTests.sh QUILLMATE.exe QMDB.exe PROBE.exe WORK_DIR
# qmdb.exe beside the running program in one Wine prefix, as a user runs it
# while Quillmate sits in the tray: add and import refuse with exit code 3
# and change nothing, the reading commands go on working, and once the
# program has ended add writes again.
set -uo pipefail
exe="$(realpath "$1")"
qmdb="$(realpath "$2")"
source "$(dirname "$0")/../Support/WineScenario.sh" "$4" "$3" || exit 1

qmdb_run() { # qmdb_run INPUT ARGUMENTS...: standard output and error in $said, exit code in $status
  printf '%s' "$1" >"$qm_work/stdin.txt"
  wine "$qmdb" "${@:2}" <"$qm_work/stdin.txt" >"$qm_work/said.txt" 2>&1
  status=$?
  said="$(tr -d '\r' <"$qm_work/said.txt")"
}

wine "$exe" >/dev/null 2>&1 &
program=$!
check "the program runs, in the notification area" test "$(probe tray-icon yes)" = yes
data="$(qm_user_dir)/Roaming/Quillmate"
check "its text-note store exists" wait_until test -f "$data/TextNotes.qmt"
notes="$(winepath -w "$data/TextNotes.qmt" 2>/dev/null | tr -d '\r')"
before="$(md5sum < "$data/TextNotes.qmt")"

qmdb_run '{"title": "From qmdb"}' add "$notes"
check "add while the program runs exits with code 3 ($status)" test "$status" = 3
check "and says why: $said" grep -q "Quillmate is running" <<<"$said"
check "and leaves the store as it was" test "$(md5sum < "$data/TextNotes.qmt")" = "$before"
printf 'BEGIN:VCARD\nFN:Jo\nEMAIL:jo@example.com\nEND:VCARD\n' >"$qm_work/jo.vcf"
emails="$(winepath -w "$data/EmailRes.qmt" 2>/dev/null | tr -d '\r')"
qmdb_run '' import "$(winepath -w "$qm_work/jo.vcf" 2>/dev/null | tr -d '\r')" "$emails"
check "import while the program runs exits with code 3 ($status)" test "$status" = 3
check "and adds nothing" test "$(stat -c %s "$data/EmailRes.qmt")" = 40
qmdb_run '' check "$notes"
check "check still reads the store ($status: $said)" test "$status" = 0

check "Exit ends the program" test "$(probe exit)" = "question: Would you like to Exit Quillmate?"
wait_exit "$program"
check "with code 0 ($code)" test "$code" = 0
qmdb_run '{"title": "From qmdb"}' add "$notes"
check "once it has ended, add writes ($status: $said)" test "$status" = 0
qmdb_run '' dump "$notes"
check "and the record is there" grep -q '"title": "From qmdb"' <<<"$said"

finish
