#!/bin/bash
# Emulator used by CTest for the windows preset: runs a Windows executable
# under Wine in the environment of its build tree (see wine-env.sh).
exe="$1"; shift
build="$(cd "$(dirname "$exe")" && pwd)"
while [ ! -f "$build/CMakeCache.txt" ] && [ "$build" != / ]; do build="$(dirname "$build")"; done
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh" "$build" || exit 1

# The program's output goes through files, not straight to our caller: Wine
# daemons that the program happens to start (services, the desktop) inherit
# its output handles, and a caller reading a pipe (CTest) would otherwise wait
# until they exit, half a minute later.
output="$(mktemp)"; errors="$(mktemp)"
trap 'rm -f "$output" "$errors"' EXIT
wine "$exe" "$@" >"$output" 2>"$errors" </dev/null
status=$?
cat "$output"; cat "$errors" >&2
exit $status
