# Sourced by the scenario tests that drive real programs under Wine from
# outside (Tests/Shell/EndToEndTests.sh, Tests/Installer/InstallerTests.sh),
# with the work folder as $1 and the probe executable as $2: a fresh prefix
# (and so a fresh data folder and registry) of its own in the work folder, on
# a display of its own, never the caller's; counted checks; the probe; and
# bounded waits for processes and registry values.
qm_work="$(realpath -m "$1")"
qm_probe="$(realpath "$2")"
qm_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"

rm -rf "$qm_work"
mkdir -p "$qm_work"
unset DISPLAY WINEPREFIX WINESERVER
source "$qm_root/scripts/wine-env.sh" "$qm_work" || return 1

failures=0
check() { # check DESCRIPTION COMMAND...
  local description="$1"; shift
  if "$@"; then
    echo "ok: $description"
  else
    echo "FAILED: $description"
    failures=$((failures + 1))
  fi
}

# The result line and exit status of the scenario.
finish() {
  echo "$failures failure(s)"
  [ "$failures" -eq 0 ]
}

qm_cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -f "$qm_work/xvfb.pid" ]; then kill "$(cat "$qm_work/xvfb.pid")" 2>/dev/null || true; fi
}
trap qm_cleanup EXIT

probe() { wine "$qm_probe" "$@" 2>/dev/null | tr -d '\r'; return "${PIPESTATUS[0]}"; }

reg_value() { # reg_value KEY NAME: the data of a value, or nothing
  wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}

reg_key_exists() { # reg_key_exists KEY
  wine reg query "$1" >/dev/null 2>&1
}

# Waits (bounded) for a background process to end; its exit code lands in
# $code ("still-running" when it did not end). Not in a subshell: only this
# shell can wait for its children.
wait_exit() {
  timeout 60 tail --pid="$1" -f /dev/null
  if kill -0 "$1" 2>/dev/null; then code=still-running; return; fi
  wait "$1"
  code=$?
}

# Waits (bounded) until a command succeeds; fails when it never does.
wait_until() { # wait_until COMMAND...
  local tries=0
  until "$@"; do
    tries=$((tries + 1))
    [ $tries -lt 240 ] || return 1
    timeout 0.25 tail -f /dev/null
  done
  return 0
}

# Waits (bounded) until a REG_SZ value reads as expected and prints what it
# read last: the program writes its values a moment after its window shows.
wait_reg() { # wait_reg KEY NAME EXPECTED
  local value tries=0
  while value="$(reg_value "$1" "$2")"; [ "$value" != "$3" ] && [ $tries -lt 60 ]; do
    tries=$((tries + 1))
    timeout 0.25 tail -f /dev/null
  done
  echo "$value"
}

# The AppData folder of the prefix's user (Roaming and Local are in it).
qm_user_dir() { ls -d "$WINEPREFIX"/drive_c/users/*/AppData 2>/dev/null | grep -v /Public/ | head -1; }
