#!/bin/sh
# Remakes the PNG variants beside this script with ImageMagick's convert: a 13 x 11 picture
# (a colour gradient, and the same with an alpha gradient and a clear corner) in each colour
# type, bit depth and interlacing that the tests read. Text, time and background chunks are
# left out so that the files stay the same from run to run; gamma and chromaticity stay in,
# for the reader to ignore.
set -eu
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
rgb="$tmp/rgb.png"
rgba="$tmp/rgba.png"
convert -size 13x11 gradient:'#ff2000-#1040ff' \( -size 11x13 gradient:white-'#202020' -rotate 90 \) \
  -compose multiply -composite "$rgb"
convert "$rgb" \( -size 11x13 gradient:white-black -rotate 90 \) -alpha off -compose copyopacity \
  -composite -fill none -draw "color 0,0 point" "$rgba"
keep="-define png:exclude-chunk=date,time,text,ztxt,itxt,bkgd"
as() { out=$1; type=$2; depth=$3; shift 3
  convert "$@" -define png:color-type="$type" -define png:bit-depth="$depth" $keep "$out"; }
as grey1.png 0 1 "$rgb" -colorspace gray -dither none -threshold 50%
as grey2.png 0 2 "$rgb" -colorspace gray
as grey4.png 0 4 "$rgb" -colorspace gray
as grey8.png 0 8 "$rgb" -colorspace gray
as grey16.png 0 16 "$rgb" -colorspace gray
as grey8_key.png 0 8 "$rgb" -colorspace gray -alpha set -fill none -draw "color 5,5 point"
as greyalpha8.png 4 8 "$rgba" -colorspace gray
as greyalpha16.png 4 16 "$rgba" -colorspace gray
as palette1.png 3 1 "$rgba" -alpha off -colors 2
as rgb8.png 2 8 "$rgb"
as rgb16.png 2 16 "$rgb"
as rgba8.png 6 8 "$rgba"
as rgba16.png 6 16 "$rgba"
as grey1_interlaced.png 0 1 "$rgb" -colorspace gray -threshold 50% -interlace PNG
as rgb16_interlaced.png 2 16 "$rgb" -interlace PNG
as rgba8_interlaced.png 6 8 "$rgba" -interlace PNG
as greyalpha16_interlaced.png 4 16 "$rgba" -colorspace gray -interlace PNG
# Palettes with a transparent entry, and RGB with a transparent colour, as convert makes them.
convert "$rgba" -colors 3 -define png:bit-depth=2 $keep PNG8:palette2.png
convert "$rgba" -colors 8 -define png:bit-depth=4 $keep PNG8:palette4.png
convert "$rgba" -colors 8 -define png:bit-depth=4 -interlace PNG $keep PNG8:palette4_interlaced.png
convert "$rgba" -colors 16 $keep PNG8:palette8.png
convert "$rgb" -alpha set -fill none -draw "color 3,3 point" $keep PNG24:rgb8_key.png
