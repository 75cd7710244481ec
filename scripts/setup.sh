#!/bin/bash
# Installs what a fresh Debian 12 machine lacks to build and test Quillmate.
# Idempotent: when every package is present and the picture libraries are
# cached it only asks dpkg and returns.
set -euo pipefail

packages=(
  cmake ninja-build make git
  g++-mingw-w64-i686-posix mingw-w64-tools binutils-mingw-w64-i686
  wine wine32:i386 fonts-wine xvfb xauth x11-utils
  googletest libgtest-dev libbenchmark-dev
  clang libclang-rt-14-dev
  imagemagick librsvg2-bin xdotool
  fp-utils
  libasound2-plugins:i386 alsa-utils
  nsis
  python3 python3-vobject python3-icalendar
  # zlib's crc32 checks every stored record, in both builds.
  zlib1g-dev libz-mingw-w64-dev
  # The picture decoders: Debian's packages for the native build, and what
  # building them from Debian's sources for Windows needs.
  libjpeg62-turbo-dev libpng-dev libtiff-dev libgif-dev nasm dpkg-dev
  # For make bench only: the store is measured against SQLite, and strace
  # counts its system calls.
  libsqlite3-dev strace
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$p")
done
if [ ${#missing[@]} -ne 0 ]; then
  echo "setup: installing ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; fi
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  $SUDO apt-get -o DPkg::Lock::Timeout=600 update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get -o DPkg::Lock::Timeout=600 install -y -q --no-install-recommends "${missing[@]}"
fi

# The picture decoders for the Windows build, built once per machine from
# Debian's sources and cached under ~/.cache/quillmate (quiet when cached).
"$(dirname "${BASH_SOURCE[0]}")/build-image-libs.sh" >/dev/null
