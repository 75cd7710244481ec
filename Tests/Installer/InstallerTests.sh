#!/bin/bash
# InstallerTests.sh SETUP.exe EARLIER_SETUP.exe STAGE_DIR PROBE.exe QMDB.exe WORK_DIR
# The setup program as a user meets it, in a fresh Wine prefix of its own:
# a silent install of an earlier version, the installed program's first
# start, a record added with qmdb, a silent upgrade while the program runs
# (it is asked to end, never killed, and refuses while its Exit question is
# open), and a silent uninstall that removes everything it installed or the
# program registered, and leaves the data folder byte for byte as it was.
set -uo pipefail
setup="$(realpath "$1")"
earlier="$(realpath "$2")"
stage="$(realpath "$3")"
qmdb="$(realpath "$5")"
source "$(dirname "$0")/../Support/WineScenario.sh" "$6" "$4" || exit 1

version="$(basename "$setup" .exe)"; version="${version#QuillmateSetup-}"
earlier_version="$(basename "$earlier" .exe)"; earlier_version="${earlier_version#QuillmateSetup-}"

uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillmate'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
marker_key='HKCU\Software\Ferrowind'

appdata="$(qm_user_dir)"
install="$appdata/Local/Programs/Quillmate"
install_windows="$(winepath -w "$install" 2>/dev/null | tr -d '\r')"
shortcut="$appdata/Roaming/Microsoft/Windows/Start Menu/Programs/Quillmate.lnk"
data="$appdata/Roaming/Quillmate"

# Every file of the data folder with its checksum, and the folders.
data_snapshot() { (cd "$data" && find . -type d | sort && find . -type f -print0 | sort -z | xargs -0 sha256sum); }
emails() { wine "$qmdb" dump "$(winepath -w "$data/EmailRes.qmt" | tr -d '\r')" 2>/dev/null | tr -d '\r'; }
same_file() { cmp -s "$1" "$2"; }
absent() { [ ! -e "$1" ]; }
key_absent() { ! reg_key_exists "$1"; }

# --- silent install of the earlier version --------------------------------------
check "the data folder does not exist before the install" absent "$data"
wine "$earlier" /S >/dev/null 2>&1
check "the earlier setup /S ends with code 0 ($?)" test $? -eq 0
check "quillmate.exe is installed" same_file "$stage/quillmate.exe" "$install/quillmate.exe"
check "quillmate.chm is installed beside it" same_file "$stage/quillmate.chm" "$install/quillmate.chm"
check "the uninstaller is installed" test -f "$install/Uninstall.exe"
check "the Start-menu shortcut exists" test -f "$shortcut"
check "the uninstall entry names Quillmate" test "$(reg_value "$uninstall_key" DisplayName)" = Quillmate
check "it carries the earlier version $earlier_version" \
  test "$(reg_value "$uninstall_key" DisplayVersion)" = "$earlier_version"
check "its publisher is Ferrowind" test "$(reg_value "$uninstall_key" Publisher)" = Ferrowind
check "its icon is the program's" test "$(reg_value "$uninstall_key" DisplayIcon)" = "$install_windows\\quillmate.exe,0"
check "its install location is the folder" test "$(reg_value "$uninstall_key" InstallLocation)" = "$install_windows"
check "its uninstall command is the uninstaller" \
  test "$(reg_value "$uninstall_key" UninstallString)" = "\"$install_windows\\Uninstall.exe\""
size_kb=$(( $(reg_value "$uninstall_key" EstimatedSize) ))
files_kb=$(( ($(cat "$install"/* | wc -c) + 1023) / 1024 ))
check "its estimated size ($size_kb KB) is what the files take ($files_kb KB)" \
  test "$size_kb" -ge $((files_kb - 4)) -a "$size_kb" -le $((files_kb + 4))
check "the install made no data folder" absent "$data"

# --- the installed program starts ---------------------------------------------
exe_windows="$install_windows\\quillmate.exe"
wine "$install/quillmate.exe" >/dev/null 2>&1 &
first=$!
check "the installed program shows its main window" test "$(probe main-window visible)" = visible
check "and its icon in the notification area" test "$(probe tray-icon yes)" = yes
check "it registers the start at log-on of the installed program, with /tray" \
  test "$(wait_reg "$run_key" quillmate.exe "\"$exe_windows\" /tray")" = "\"$exe_windows\" /tray"
check "and FirstTime" test "$(wait_reg "$marker_key" FirstTime Done)" = Done

# A record added from outside while it runs: the stores are never held open.
echo '{"name":"Ada Lovelace","email":"ada@example.org","comment":"kept across upgrades"}' |
  wine "$qmdb" add "$(winepath -w "$data/EmailRes.qmt" | tr -d '\r')" >/dev/null 2>&1
check "qmdb added the record" grep -q '"ada@example.org"' <(emails)
before_upgrade="$(data_snapshot)"

# --- an upgrade while the Exit question is open: refused, nothing changed -------
check "Exit asks its question" test "$(probe exit-question)" = "question: Would you like to Exit Quillmate?"
echo stale > "$install/quillmate.chm"
wine "$setup" /S >/dev/null 2>&1
status=$?
check "the upgrade fails while a question is open ($status)" test "$status" -ne 0
check "and the program still runs" kill -0 "$first"
check "and no file was replaced" test "$(cat "$install/quillmate.chm")" = stale
check "and the uninstall entry is still the earlier version" \
  test "$(reg_value "$uninstall_key" DisplayVersion)" = "$earlier_version"
check "the question is answered No" probe answer no
check "the program runs on" test "$(probe main-window visible)" = visible

# --- the upgrade: the program is asked to end, the data stays ---------------------
wine "$setup" /S >/dev/null 2>&1
check "the setup /S of $version over $earlier_version ends with code 0 ($?)" test $? -eq 0
wait_exit "$first"
check "the running program ended as by Exit, with code 0 ($code)" test "$code" = 0
check "no main window is left" test "$(probe main-window none)" = none
check "the upgrade replaced quillmate.chm" same_file "$stage/quillmate.chm" "$install/quillmate.chm"
check "and quillmate.exe" same_file "$stage/quillmate.exe" "$install/quillmate.exe"
check "the uninstall entry carries $version" test "$(reg_value "$uninstall_key" DisplayVersion)" = "$version"
check "the data folder is byte-identical after the upgrade" test "$(data_snapshot)" = "$before_upgrade"
check "the record added with qmdb is still there" grep -q '"ada@example.org"' <(emails)

# --- a later start at log-on, then the uninstall while it runs ---------------------
# As the Run value starts it: with /tray.
wine "$install/quillmate.exe" /tray >/dev/null 2>&1 &
later=$!
check "the upgraded program starts with its icon in the notification area" test "$(probe tray-icon yes)" = yes
check "hidden in the tray, as the start at log-on" test "$(probe main-window held)" = held
before_uninstall="$(data_snapshot)"

# The uninstaller runs from a copy in the temporary folder and returns at
# once; its work is done when the install folder is gone.
wine "$install/Uninstall.exe" /S >/dev/null 2>&1
check "the uninstall removes the install folder" wait_until absent "$install"
wait_exit "$later"
check "the running program ended as by Exit, with code 0 ($code)" test "$code" = 0
check "the Start-menu shortcut is gone" wait_until absent "$shortcut"
check "the uninstall entry is gone" wait_until key_absent "$uninstall_key"
check "the Run value is gone" test -z "$(reg_value "$run_key" quillmate.exe)"
check "FirstTime is gone" test -z "$(reg_value "$marker_key" FirstTime)"
check "the data folder is byte-identical after the uninstall" test "$(data_snapshot)" = "$before_uninstall"
check "and still holds the record" grep -q '"ada@example.org"' <(emails)

finish
