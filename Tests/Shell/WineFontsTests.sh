#!/bin/bash
# WineFontsTests.sh WORK_DIR
# Without Wine's own fonts every window draws with stand-ins (caption buttons
# as letters, cut labels): the environment script must refuse loudly when
# they are missing, and the set-up must have installed them.
set -uo pipefail
work="$(realpath -m "$1")"
root="$(cd "$(dirname "$0")/../.." && pwd)"
rm -rf "$work"; mkdir -p "$work/empty" "$work/build"
failures=0

# An empty font folder: sourcing fails with a message naming the package,
# before anything else (no prefix, no display) is set up.
message="$( (QM_WINE_FONTS="$work/empty"; unset DISPLAY; source "$root/scripts/wine-env.sh" "$work/build" || exit 1; echo "went on") 2>&1 )"
status=$?
if [ $status -eq 0 ] || [[ "$message" == *"went on"* ]]; then
  echo "FAILED: wine-env.sh went on without fonts"; failures=$((failures + 1))
fi
if [[ "$message" != *"fonts-wine"* ]]; then
  echo "FAILED: the refusal does not name the package fonts-wine: $message"; failures=$((failures + 1))
fi
if [ -e "$work/build/wineprefix" ]; then
  echo "FAILED: a prefix was made without fonts"; failures=$((failures + 1))
fi

# The machine's set-up installed them.
for font in tahoma.ttf marlett.ttf; do
  if [ ! -f "/usr/share/wine/fonts/$font" ]; then
    echo "FAILED: /usr/share/wine/fonts/$font is missing (scripts/setup.sh installs fonts-wine)"; failures=$((failures + 1))
  fi
done
[ $failures -eq 0 ] && echo "ok: Wine's fonts required and present"
exit $failures
