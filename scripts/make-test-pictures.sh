#!/bin/bash
# Writes the pictures the picture-layer tests decode, made at build time with
# ImageMagick from two generated patterns (one opaque, one with a gradient of
# transparency), in every format and the variants that take different paths
# through the decoders. Beside each picture lies ImageMagick's own decoding
# of it as raw 8-bit RGBA (<file>.rgba), the reference the tests compare
# with, and one manifest line per picture:
#
#   <file> <format code> <width> <height> <tolerance> <dpi, 0 = not checked>
#
#   scripts/make-test-pictures.sh <output folder>
set -euo pipefail
out="$1"
mkdir -p "$out"
cd "$out"
rm -rf manifest.txt by-format

# 37 x 23: odd sizes exercise row padding; gradients, flat rectangles.
convert -size 37x23 gradient:'#ff2000-#0030ff' \( -size 23x37 gradient:white-'#202020' -rotate 90 \) \
  -compose Multiply -composite -fill '#00ff00' -draw 'rectangle 2,2 8,6' -fill white \
  -draw 'rectangle 30,15 35,21' -fill black -draw 'rectangle 12,17 16,20' -depth 8 base.png
# The same with alpha running from opaque (left) to fully transparent (right).
convert base.png \( -size 23x37 gradient:white-black -rotate 90 \) -alpha off -compose CopyOpacity \
  -composite -depth 8 alpha.png

# picture <file> <code> <tolerance> <dpi> <source> <coder, - for the
# extension's> <ImageMagick options...>
picture() {
  local file="$1" code="$2" tolerance="$3" dpi="$4" source="$5" coder="$6"
  shift 6
  local target="$file"
  [ "$coder" = "-" ] || target="$coder:$file"
  convert "$source" "$@" "$target"
  # Rows as a viewer shows them: ImageMagick keeps a Targa file's rows in
  # stored order and notes the origin apart.
  convert "$file[0]" -auto-orient -depth 8 "rgba:$file.rgba"
  echo "$file $code $(identify -format '%w %h' "$file[0]") $tolerance $dpi" >>manifest.txt
  mkdir -p "by-format/$code"  # the seeds of the format's fuzzer
  cp "$file" "by-format/$code/"
}

density=(-units PixelsPerInch -density 300)

picture bmp-24.bmp 1 0 0 base.png BMP3 -type TrueColor
picture bmp-8.bmp 1 0 0 base.png BMP3 -type Palette -compress None
picture bmp-4.bmp 1 0 0 base.png BMP3 -colors 16 -type Palette
picture bmp-1.bmp 1 0 0 base.png BMP3 -monochrome
picture bmp-rle8.bmp 1 0 0 base.png BMP3 -type Palette -compress RLE
picture bmp-32-alpha.bmp 1 0 0 alpha.png BMP
picture bmp-565.bmp 1 0 0 base.png BMP -define bmp:subtype=RGB565 -depth 16
picture bmp-555-fields.bmp 1 0 0 base.png BMP3 -define bmp:subtype=RGB555
picture bmp-os2.bmp 1 0 0 base.png BMP2 -type Palette
picture bmp-dpi.bmp 1 0 300 base.png BMP3 "${density[@]}" -type TrueColor

picture gif-palette.gif 2 0 96 base.png -
picture gif-interlaced.gif 2 0 96 base.png - -interlace GIF
picture gif-transparent.gif 2 0 96 alpha.png -

picture jpeg-rgb.jpg 3 2 0 base.png - -quality 92
picture jpeg-grey.jpg 3 2 0 base.png - -colorspace Gray -quality 92
picture jpeg-progressive.jpg 3 2 0 base.png - -interlace JPEG -quality 92
picture jpeg-cmyk.jpg 3 3 0 base.png - -colorspace CMYK -quality 92
picture jpeg-dpi.jpg 3 2 300 base.png - "${density[@]}" -quality 92

picture png-rgb.png 4 0 0 base.png PNG24
picture png-rgba.png 4 0 0 alpha.png PNG32
picture png-palette.png 4 0 0 base.png PNG8
picture png-grey.png 4 0 0 base.png PNG -colorspace Gray -type Grayscale
picture png-grey-alpha.png 4 0 0 alpha.png PNG -colorspace Gray -type GrayscaleAlpha
picture png-mono.png 4 0 0 base.png PNG -monochrome
picture png-16.png 4 1 0 base.png PNG48 -depth 16
picture png-16-alpha.png 4 1 0 alpha.png PNG64 -depth 16
picture png-interlaced.png 4 0 0 alpha.png PNG32 -interlace PNG
picture png-dpi.png 4 0 300 base.png PNG24 "${density[@]}"

picture ico-32.ico 5 0 0 alpha.png -
picture ico-8.ico 5 0 0 base.png - -type Palette

picture tiff-rgb.tif 6 0 0 base.png - -compress None
picture tiff-lzw.tif 6 0 0 base.png - -compress LZW
picture tiff-zip.tif 6 0 0 base.png - -compress Zip
picture tiff-jpeg.tif 6 3 0 base.png - -compress JPEG -quality 92
picture tiff-16.tif 6 1 0 base.png - -depth 16 -compress None
picture tiff-rgba.tif 6 1 0 alpha.png - -compress LZW
picture tiff-palette.tif 6 1 0 base.png - -type Palette
picture tiff-grey.tif 6 0 0 base.png - -colorspace Gray -type Grayscale
picture tiff-cmyk.tif 6 1 0 base.png - -colorspace CMYK
picture tiff-tiled.tif 6 0 0 base.png - -define tiff:tile-geometry=16x16
picture tiff-dpi.tif 6 0 300 base.png - "${density[@]}"

picture tga-24.tga 7 0 96 base.png - -type TrueColor
picture tga-top-down.tga 7 0 96 base.png - -type TrueColor -orient TopLeft
picture tga-32-alpha.tga 7 0 96 alpha.png -
picture tga-rle.tga 7 0 96 base.png - -type TrueColor -compress RLE
picture tga-mapped.tga 7 0 96 base.png - -type Palette
picture tga-grey.tga 7 0 96 base.png - -colorspace Gray -type Grayscale

picture pcx-24.pcx 8 0 0 base.png - -type TrueColor
picture pcx-8.pcx 8 0 0 base.png - -type Palette

picture wbmp.wbmp 9 0 96 base.png - -monochrome
rm -f base.png alpha.png
