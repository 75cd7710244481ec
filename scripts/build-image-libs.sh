#!/bin/bash
# Builds the picture decoders of the Windows build (libjpeg-turbo, libpng,
# libtiff, giflib) as static i686 MinGW libraries from Debian's own source
# packages, at pinned versions, once per machine. Each library is installed
# under ~/.cache/quillmate/<package>-<version>/ (include/, lib/) and marked
# complete by a stamp, so every clone on the machine reuses it; zlib comes
# from Debian's libz-mingw-w64-dev.
#
#   scripts/build-image-libs.sh            # build what is missing
#   scripts/build-image-libs.sh --prefixes # also print name=prefix lines
#
# Fetching needs a deb-src entry for bookworm; when none is configured the
# script adds one in a file of its own under /etc/apt/sources.list.d/.
set -euo pipefail

# Pinned: source package and Debian version (epoch dropped in folder names).
# These are the revisions of bookworm's latest point release (Debian's
# security fixes up to it included); a version the archive no longer serves
# is refused rather than silently swapped: update the pin deliberately.
pins=(
  "jpeg libjpeg-turbo 1:2.1.5-2"
  "png libpng1.6 1.6.39-2+deb12u5"
  "tiff tiff 4.5.0-6+deb12u4"
  "gif giflib 5.2.1-2.5+deb12u1"
)

cache="${QM_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/quillmate}"
triplet=i686-w64-mingw32
mingwRoot=/usr/$triplet
printPrefixes=0
[ "${1:-}" = "--prefixes" ] && printPrefixes=1

log() { echo "build-image-libs: $*" >&2; }

prefixOf() {  # name -> install folder
  local name package version
  for pin in "${pins[@]}"; do
    read -r name package version <<<"$pin"
    if [ "$name" = "$1" ]; then echo "$cache/$package-${version#*:}"; return; fi
  done
}

ensureDebSrc() {
  # Stale package lists can still answer showsrc after an entry is gone: look
  # at the configured sources themselves.
  if grep -qsE '^(Types: *deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/*; then return; fi
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  log "adding a deb-src entry for bookworm (/etc/apt/sources.list.d/quillmate-deb-src.sources)"
  $sudo tee /etc/apt/sources.list.d/quillmate-deb-src.sources >/dev/null <<'EOF'
# Added by Quillmate's scripts/build-image-libs.sh: the picture decoders of
# the Windows build are built from Debian's own source packages.
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
  $sudo apt-get -o DPkg::Lock::Timeout=600 update -q >&2
}

# Unpacks the pinned source (Debian's patches applied) into $work/src and
# echoes the unpacked folder.
fetchSource() {
  local package="$1" version="$2" work="$3"
  ensureDebSrc
  mkdir -p "$work/src"
  if ! (cd "$work/src" && apt-get source -q --only-source "$package=$version" >&2); then
    log "Debian no longer serves $package $version; update the pin in $0"
    exit 1
  fi
  find "$work/src" -mindepth 1 -maxdepth 1 -type d | head -n 1
}

writeToolchain() {  # file, extra find roots
  cat >"$1" <<EOF
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(CMAKE_C_COMPILER $triplet-gcc-posix)
set(CMAKE_CXX_COMPILER $triplet-g++-posix)
set(CMAKE_RC_COMPILER $triplet-windres)
set(CMAKE_FIND_ROOT_PATH $mingwRoot $2)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
EOF
}

cmakeBuild() {  # source, build, prefix, options...
  local source="$1" build="$2" prefix="$3"
  shift 3
  nice -n 10 cmake -S "$source" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$build/../toolchain.cmake" -DCMAKE_INSTALL_PREFIX="$prefix" "$@" >&2
  nice -n 10 cmake --build "$build" -j2 >&2
  cmake --install "$build" >&2
}

buildJpeg() {  # source, work, prefix
  local simd=OFF
  command -v nasm >/dev/null && simd=ON
  cmakeBuild "$1" "$2/build" "$3" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
    -DWITH_TURBOJPEG=OFF -DWITH_SIMD=$simd -DREQUIRE_SIMD=$simd
}

buildPng() {
  cmakeBuild "$1" "$2/build" "$3" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF \
    -DPNG_EXECUTABLES=OFF -DSKIP_INSTALL_PROGRAMS=ON
}

buildTiff() {
  local jpeg
  jpeg="$(prefixOf jpeg)"
  cmakeBuild "$1" "$2/build" "$3" -DBUILD_SHARED_LIBS=OFF -Dtiff-tools=OFF -Dtiff-tests=OFF \
    -Dtiff-contrib=OFF -Dtiff-docs=OFF -Dcxx=OFF -Dzlib=ON -Djpeg=ON -Dold-jpeg=ON -Djpeg12=OFF \
    -Djbig=OFF -Dlerc=OFF -Dlzma=OFF -Dzstd=OFF -Dwebp=OFF -Dlibdeflate=OFF \
    -DJPEG_INCLUDE_DIR="$jpeg/include" -DJPEG_LIBRARY="$jpeg/lib/libjpeg.a"
}

# giflib ships a plain Makefile for Unix shared libraries: compile the
# library's own files directly.
buildGif() {
  local source="$1" build="$2/build" prefix="$3"
  mkdir -p "$build" "$prefix/include" "$prefix/lib"
  local objects=()
  for file in dgif_lib egif_lib gifalloc gif_err gif_hash openbsd-reallocarray quantize; do
    nice -n 10 $triplet-gcc-posix -O2 -c "$source/$file.c" -I"$source" -o "$build/$file.o"
    objects+=("$build/$file.o")
  done
  $triplet-ar rcs "$prefix/lib/libgif.a" "${objects[@]}"
  cp "$source/gif_lib.h" "$prefix/include/"
}

[ -f "$mingwRoot/lib/libz.a" ] || { log "libz-mingw-w64-dev is missing (scripts/setup.sh installs it)"; exit 1; }

for pin in "${pins[@]}"; do
  read -r name package version <<<"$pin"
  prefix="$(prefixOf "$name")"
  if [ ! -f "$prefix/.complete" ]; then
    log "building $package $version into $prefix"
    rm -rf "$prefix"
    work="$(mktemp -d "${TMPDIR:-/tmp}/quillmate-$name-XXXXXX")"
    trap 'rm -rf "$work"' EXIT
    writeToolchain "$work/toolchain.cmake" "$(prefixOf jpeg)"
    source="$(fetchSource "$package" "$version" "$work")"
    case "$name" in
      jpeg) buildJpeg "$source" "$work" "$prefix" ;;
      png) buildPng "$source" "$work" "$prefix" ;;
      tiff) buildTiff "$source" "$work" "$prefix" ;;
      gif) buildGif "$source" "$work" "$prefix" ;;
    esac
    echo "$package $version" >"$prefix/.complete"
    rm -rf "$work"
    trap - EXIT
  fi
  [ "$printPrefixes" -eq 1 ] && echo "$name=$prefix"
done
exit 0
