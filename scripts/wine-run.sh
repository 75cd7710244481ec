#!/bin/bash
# Emulator used by CTest for the windows preset: runs a Windows executable
# under Wine in the environment of its build tree (see wine-env.sh).
exe="$1"; shift
build="$(cd "$(dirname "$exe")" && pwd)"
while [ ! -f "$build/CMakeCache.txt" ] && [ "$build" != / ]; do build="$(dirname "$build")"; done
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh" "$build"
exec wine "$exe" "$@"
