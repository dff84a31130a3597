#!/usr/bin/env bash
# Draws the 222 × 135 picture of the upper pool shown in the main window: a small gated
# concrete dam seen from the reservoir side, with a row of sluice-gate frames on its
# crest, the spillway wall, the pool in front and grass below.
#     make_dam_picture.sh [OUT [SCALE]]
# SCALE 2 draws the same scene at twice the size for screens at 200 %. Without arguments
# it writes resources/dam.bmp and resources/dam@2x.bmp, 24-bit bitmaps. The 1× picture
# is a photograph: it is saved as a JPEG first, and dam.bmp holds that JPEG's pixels,
# decoded once here, so that the program loads no JPEG plug-in to show them (it decodes
# a bitmap itself, and about as fast). Needs ImageMagick's convert.
# Run it again only when the picture is to change.
set -euo pipefail
source "$(dirname "$0")/scaled_drawing.sh"

draw() { # out, scale
  local out=$1 scale=$2

  # Gate frames: eight piers with a gate leaf hung between each pair.
  local gates="" i x
  for i in $(seq 0 7); do
    x=$((20 + i * 24))
    gates+=" fill '#8d8d86' rectangle $x,30 $((x + 5)),66"
    [ "$i" -lt 7 ] && gates+=" fill '#4f5a63' rectangle $((x + 6)),40 $((x + 23)),58"
    [ "$i" -lt 7 ] && gates+=" fill '#6b757d' rectangle $((x + 6)),40 $((x + 23)),43"
  done

  local -a args=(-size "$((222 * scale))x$((135 * scale))" gradient:'#9cc8ec'-'#e4f1fb')
  shape() { args+=(-fill "$1" -draw "$(scaled "$scale" "$2")"); }
  shape '#a3b38a' 'polygon 0,52 40,38 90,46 150,34 222,44 222,70 0,70'
  shape '#6f8f4e' 'polygon 0,60 60,54 120,58 222,52 222,70 0,70'
  shape '#b9b7ae' 'rectangle 10,26 214,31'
  args+=(-draw "$(scaled "$scale" "$gates")")
  shape '#c8c5bb' 'rectangle 8,64 216,82'
  shape '#a9a69c' 'rectangle 8,64 216,67'
  shape '#3d6f93' 'rectangle 0,80 222,112'
  shape '#5d8fb3' 'line 10,88 60,88 line 90,94 150,94 line 30,101 96,101 line 140,106 210,106 line 170,86 212,86'
  shape '#4c8a2f' 'polygon 0,110 50,106 110,109 170,105 222,108 222,135 0,135'
  shape '#3b7224' 'polygon 0,122 70,117 140,121 222,116 222,135 0,135'
  convert "${args[@]}" -quality 88 -strip "$out"
}

if (($#)); then
  draw "$1" "${2:-1}"
else
  dir=$(dirname "$0")
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  draw "$work/dam.jpg" 1
  draw "PNG24:$work/dam@2x.png" 2
  convert "$work/dam.jpg" -alpha off -type TrueColor "BMP3:$dir/dam.bmp"
  convert "$work/dam@2x.png" -alpha off -type TrueColor "BMP3:$dir/dam@2x.bmp"
fi
