# Sourced, with the build tree as $1: sets up the environment in which
# Quillmate and its tests run under Wine, and makes sure that its pieces exist:
#  - a 32-bit prefix private to the build tree, with Wine's own fonts copied in
#    and the Gecko/Mono prompts suppressed;
#  - an X display: the caller's, or an Xvfb of the build tree when none is set;
#  - one Wine virtual desktop for every program of the prefix (and a desktop
#    "Quillmate" with a taskbar, for screenshots);
#  - a persistent wineserver, so that test executables start quickly;
#  - sound devices without a sound card (ALSA's null plugin), for this run only;
#    a test names another of the project's ALSA configurations in
#    QM_ALSA_CONFIG (the recorder's tests capture a known signal).
# Concurrent callers (parallel CTest) serialise on a lock in the build tree.

qm_build="$(cd "$1" && pwd)"
qm_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

export WINEPREFIX="$qm_build/wineprefix"
export WINEARCH=win32
export WINEDEBUG="${QM_WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe="
export ALSA_CONFIG_PATH="${QM_ALSA_CONFIG:-$qm_root/scripts/alsa-null.conf}"
export QM_SOURCE_DIR="$qm_root"

qm_start_xvfb() {
  local state="$qm_build/xvfb"
  if [ -f "$state.pid" ] && kill -0 "$(cat "$state.pid")" 2>/dev/null; then
    export DISPLAY=":$(cat "$state.display")"
    return
  fi
  # -displayfd picks a free display number and reports it once the server is up.
  local fifo="$state.fifo"; rm -f "$fifo"; mkfifo "$fifo"
  setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  echo $! > "$state.pid"
  local number; read -r -t 20 number < "$fifo"
  rm -f "$fifo"
  echo "$number" > "$state.display"
  export DISPLAY=":$number"
}

if [ -z "${DISPLAY:-}" ]; then
  exec 9>"$qm_build/.xvfb.lock"; flock 9
  qm_start_xvfb
  flock -u 9; exec 9>&-
fi

(
  flock 9
  if [ ! -f "$WINEPREFIX/.quillmate-ready-3" ]; then
    wineboot -i >/dev/null 2>&1 || true
    # The virtual desktop "Quillmate" gets a taskbar with a notification area.
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops\Quillmate' /v EnableShell /t REG_DWORD /d 1 /f >/dev/null 2>&1 || true
    # Every program of the prefix runs on one virtual desktop: Wine then
    # manages the windows itself, and hiding or destroying an active window
    # does not wait for a window manager that a bare Xvfb does not have.
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default /f >/dev/null 2>&1 || true
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d 1280x1024 /f >/dev/null 2>&1 || true
    timeout 60 wineserver -w || true
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp -n /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.fon "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    touch "$WINEPREFIX/.quillmate-ready-3"
  fi
) 9>"$qm_build/.wine-setup.lock"

# Keep one wineserver alive for the prefix; it ends by itself when unused.
wineserver -p30 >/dev/null 2>&1 || true
