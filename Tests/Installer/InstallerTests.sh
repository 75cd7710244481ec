#!/bin/bash
# InstallerTests.sh SETUP.exe EARLIER_SETUP.exe STAGE_DIR PROBE.exe QMDB.exe WORK_DIR
# The setup program as a user meets it, in a fresh Wine prefix of its own:
# a silent install of an earlier version with qmdb.exe beside the program, a
# record added with the installed qmdb, the program's first start (beside
# which qmdb refuses to write), a silent upgrade while the program runs (it is
# asked to end, never killed, and refuses while its Exit question is open), an
# upgrade that fails part-way and leaves the earlier files whole, an upgrade
# into another folder that removes the old copy and points the start at
# log-on at the new one, and a silent uninstall that removes everything it
# installed or the program registered for this copy only, and leaves the data
# folder byte for byte as it was.
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
programs="$appdata/Roaming/Microsoft/Windows/Start Menu/Programs"
shortcut="$programs/Quillmate.lnk"
desktop="$(dirname "$appdata")/Desktop"
data="$appdata/Roaming/Quillmate"

# Every file of the data folder with its checksum, and the folders.
data_snapshot() { (cd "$data" && find . -type d | sort && find . -type f -print0 | sort -z | xargs -0 sha256sum); }
emails() { wine "$install/qmdb.exe" dump "$(winepath -w "$data/EmailRes.qmt" | tr -d '\r')" 2>/dev/null | tr -d '\r'; }
same_file() { cmp -s "$1" "$2"; }
absent() { [ ! -e "$1" ]; }
key_absent() { ! reg_key_exists "$1"; }

# --- silent install of the earlier version --------------------------------------
check "the data folder does not exist before the install" absent "$data"
wine "$earlier" /S >/dev/null 2>&1
check "the earlier setup /S ends with code 0 ($?)" test $? -eq 0
check "quillmate.exe is installed" same_file "$stage/quillmate.exe" "$install/quillmate.exe"
check "quillmate.chm is installed beside it" same_file "$stage/quillmate.chm" "$install/quillmate.chm"
check "qmdb.exe is installed beside it" same_file "$stage/qmdb.exe" "$install/qmdb.exe"
check "no file is left under a temporary name" test -z "$(ls "$install" | grep -E '\.(new|old)$')"
check "the uninstaller is installed" test -f "$install/Uninstall.exe"
check "the Start-menu shortcut exists" test -f "$shortcut"
check "and one for qmdb" test -f "$programs/Quillmate Database Tool (qmdb).lnk"
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

# A record added with the installed qmdb before the program first runs.
mkdir -p "$data"
echo '{"name":"Ada Lovelace","email":"ada@example.org","comment":"kept across upgrades"}' |
  wine "$install/qmdb.exe" add "$(winepath -w "$data/EmailRes.qmt" | tr -d '\r')" >/dev/null 2>&1
check "qmdb added the record" grep -q '"ada@example.org"' <(emails)

# --- the installed program starts ---------------------------------------------
exe_windows="$install_windows\\quillmate.exe"
wine "$install/quillmate.exe" >/dev/null 2>&1 &
first=$!
check "the installed program shows its main window" test "$(probe main-window visible)" = visible
check "and its icon in the notification area" test "$(probe tray-icon yes)" = yes
check "it registers the start at log-on of the installed program" \
  test "$(wait_reg "$run_key" quillmate.exe "$exe_windows")" = "$exe_windows"
check "and FirstTime" test "$(wait_reg "$marker_key" FirstTime Done)" = Done

# While it runs, qmdb writes nothing: the program may write the same file.
before_refusal="$(sha256sum < "$data/EmailRes.qmt")"
echo '{"name":"Grace Hopper","email":"grace@example.org"}' |
  wine "$install/qmdb.exe" add "$(winepath -w "$data/EmailRes.qmt" | tr -d '\r')" >/dev/null 2>&1
check "qmdb add beside the running program exits with code 3 ($?)" test $? -eq 3
check "and leaves the store as it was" test "$(sha256sum < "$data/EmailRes.qmt")" = "$before_refusal"
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
check "the start at log-on starts the new files, with the log-on switch" \
  test "$(reg_value "$run_key" quillmate.exe)" = "\"$exe_windows\" /tray"

# --- an upgrade that fails part-way: the earlier files stay whole ----------------
echo earlier > "$install/quillmate.exe"
mkdir "$install/quillmate.chm.new"  # in the way of the help file's staged copy
wine "$setup" /S >/dev/null 2>&1
status=$?
check "an upgrade that cannot write a file fails ($status)" test "$status" -ne 0
check "and leaves the earlier quillmate.exe in place" test "$(cat "$install/quillmate.exe")" = earlier
check "and the earlier help file" same_file "$stage/quillmate.chm" "$install/quillmate.chm"
check "and nothing staged" absent "$install/quillmate.exe.new"
rmdir "$install/quillmate.chm.new"

# --- an upgrade into another folder ------------------------------------------------
cp "$shortcut" "$qm_work/first-folder.lnk"
mkdir -p "$desktop" && cp "$shortcut" "$desktop/Quillmate.lnk"  # the user's desktop shortcut
old_install="$install"
install="$appdata/Local/QuillmateMoved"  # /D= takes no quotes, so no blank
install_windows="$(winepath -w "$install" 2>/dev/null | tr -d '\r')"
exe_windows="$install_windows\quillmate.exe"
wine "$setup" /S "/D=$install_windows" >/dev/null 2>&1
check "the setup /S into another folder ends with code 0 ($?)" test $? -eq 0
check "the program is in the new folder" same_file "$stage/quillmate.exe" "$install/quillmate.exe"
check "with qmdb.exe" same_file "$stage/qmdb.exe" "$install/qmdb.exe"
check "the old copy's files are gone with their folder" absent "$old_install"
check "the uninstall entry names the new folder" test "$(reg_value "$uninstall_key" InstallLocation)" = "$install_windows"
check "the start at log-on starts the new copy" \
  test "$(reg_value "$run_key" quillmate.exe)" = "\"$exe_windows\" /tray"
check "the data folder is byte-identical after the move" test "$(data_snapshot)" = "$before_upgrade"

# --- a later start, then the uninstall while it runs ------------------------------
wine "$install/quillmate.exe" >/dev/null 2>&1 &
later=$!
check "the upgraded program starts with its icon in the notification area" test "$(probe tray-icon yes)" = yes
check "hidden in the tray, as every start after the first" test "$(probe main-window held)" = held
before_uninstall="$(data_snapshot)"
# A shortcut on the desktop that starts another copy is that copy's.
cp "$qm_work/first-folder.lnk" "$desktop/Quillmate.lnk"

# The uninstaller runs from a copy in the temporary folder and returns at
# once; its work is done when the install folder is gone.
wine "$install/Uninstall.exe" /S >/dev/null 2>&1
check "the uninstall removes the install folder" wait_until absent "$install"
wait_exit "$later"
check "the running program ended as by Exit, with code 0 ($code)" test "$code" = 0
check "the Start-menu shortcut is gone" wait_until absent "$shortcut"
check "and the one for qmdb" absent "$programs/Quillmate Database Tool (qmdb).lnk"
check "the uninstall entry is gone" wait_until key_absent "$uninstall_key"
check "the Run value of this copy is gone" test -z "$(reg_value "$run_key" quillmate.exe)"
check "a desktop shortcut of another copy is kept" test -f "$desktop/Quillmate.lnk"
check "FirstTime is gone" test -z "$(reg_value "$marker_key" FirstTime)"
check "the data folder is byte-identical after the uninstall" test "$(data_snapshot)" = "$before_uninstall"
check "and still holds the record" grep -q '"ada@example.org"' \
  <(wine "$qmdb" dump "$(winepath -w "$data/EmailRes.qmt" | tr -d '\r')" 2>/dev/null | tr -d '\r')

# --- a start at log-on of another copy survives this copy's uninstall ------------
wine "$setup" /S >/dev/null 2>&1
check "a reinstall ends with code 0 ($?)" test $? -eq 0
wine reg add "$run_key" /v quillmate.exe /t REG_SZ /d 'C:\Elsewhere\quillmate.exe' /f >/dev/null 2>&1
cp "$shortcut" "$desktop/Quillmate.lnk"  # this copy's: it goes
check "(the shortcut is this copy's)" test -f "$desktop/Quillmate.lnk"
check "it goes to the usual folder" test -f "$old_install/Uninstall.exe"
wine "$old_install/Uninstall.exe" /S >/dev/null 2>&1
check "the uninstall ends" wait_until key_absent "$uninstall_key"
check "the Run value of another copy is kept" test "$(reg_value "$run_key" quillmate.exe)" = 'C:\Elsewhere\quillmate.exe'
check "this copy's desktop shortcut is gone" wait_until absent "$desktop/Quillmate.lnk"

finish
