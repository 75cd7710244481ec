#!/bin/bash
# render-pictures.sh SOURCE_DIR OUTPUT_DIR
# Renders the program's pictures from their vector sources (one SVG per
# picture, 48 x 48 units) into the bitmaps and icons that the resource script
# names. Picture strips are the pictures side by side at one size; where a
# strip must be transparent it is 24-bit with magenta (0xFF00FF) behind the
# pictures, since the image lists take that colour as their mask. Needs
# rsvg-convert (librsvg2-bin) and ImageMagick's convert (scripts/setup.sh).
set -euo pipefail
src="$(cd "$1" && pwd)"
out="$2"
mkdir -p "$out"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# glyph NAME SIZE [OVERLAY]: a transparent PNG of one picture at SIZE pixels,
# with OVERLAY (another picture of the same grid) drawn over it.
glyph() {
  local name="$1" size="$2" overlay="${3:-}"
  local png="$work/$name-$overlay-$size.png"
  rsvg-convert -w "$size" -h "$size" "$src/$name.svg" -o "$png"
  if [ -n "$overlay" ]; then
    rsvg-convert -w "$size" -h "$size" "$src/$overlay.svg" -o "$work/overlay.png"
    convert "$png" "$work/overlay.png" -compose Over -composite "$png"
  fi
  echo "$png"
}

# masked PNG BMP: half-transparent edge pixels are blended with a light grey
# (the colour of the bars they sit on), the rest of the background becomes
# magenta, and the result is written as a 24-bit bitmap.
masked() {
  convert "$1" \
    \( +clone -background '#EEEEEE' -alpha remove -alpha off \) \
    \( -clone 0 -alpha extract -threshold 50% \) \
    -delete 0 -alpha off -compose CopyOpacity -composite \
    -background '#FF00FF' -alpha remove -alpha off -type TrueColor "BMP3:$2"
}

# strip OUTPUT SIZE PICTURE...: pictures side by side; PICTURE is NAME or
# NAME+OVERLAY, or - for an unused place (transparent).
strip() {
  local output="$1" size="$2"; shift 2
  local pngs=()
  for picture in "$@"; do
    if [ "$picture" = - ]; then
      convert -size "${size}x${size}" xc:none "PNG32:$work/unused-$size.png"
      pngs+=("$work/unused-$size.png")
      continue
    fi
    pngs+=("$(glyph "${picture%%+*}" "$size" "$( [[ $picture == *+* ]] && echo "${picture#*+}" )")")
  done
  convert "${pngs[@]}" -background none +append "$work/strip.png"
  masked "$work/strip.png" "$output"
}

# Bitmap 10: the main toolbar's add buttons of the eight kinds, then Help and Find.
strip "$out/MainToolbar.bmp" 32 \
  note+add-badge microphone+add-badge camera+add-badge photo+add-badge \
  clock+add-badge envelope+add-badge globe+add-badge lightning+add-badge help magnifier
# Bitmap 11: the edit toolbar; the buttons use 6 edit, 8 delete, 9 send/browse,
# 12 photo album and 13 delete all; 11 is the text note editor's print.
strip "$out/EditToolbar.bmp" 16 \
  note microphone camera photo clock envelope pencil globe \
  delete launch lightning printer album trash
# Bitmap 12: the eight managers.
strip "$out/Managers.bmp" 42 \
  note microphone camera photo clock envelope globe lightning

# Bitmap 13: the text note editor's toolbar, 25 places of which the buttons
# use 3 (print) and 17 to 24 (bold, italic, underline, colour, left, centre,
# right, bullets).
strip "$out/TextNoteToolbar.bmp" 16 \
  - - - printer - - - - - - - - - - - - - \
  bold italic underline text-colour align-left align-centre align-right bullets

# Bitmap 14: the photo dialog's toolbar; its buttons use 1 print, 3 zoom in,
# 4 zoom out and 8 fit to window (the other places repeat pictures so that
# the numbering holds).
strip "$out/PhotoToolbar.bmp" 16 \
  photo printer album zoom-in zoom-out photo album photo fit-window

# Bitmap 15: the About picture, on the dialog's white.
rsvg-convert -w 96 -h 96 -b white "$src/quillmate.svg" -o "$work/about.png"
convert "$work/about.png" -alpha off -type TrueColor "BMP3:$out/About.bmp"

# Icon 2: the program (16, 32 and 48 pixels with smooth edges). Icon 7: the
# same for platforms without alpha-blended icons, with a hard-edged mask.
icons=()
classic=()
for size in 16 32 48; do
  png="$(glyph quillmate $size)"
  icons+=("$png")
  convert "$png" -channel A -threshold 50% +channel "$work/classic-$size.png"
  classic+=("$work/classic-$size.png")
done
convert "${icons[@]}" "$out/Quillmate.ico"
convert "${classic[@]}" "$out/QuillmateClassic.ico"
