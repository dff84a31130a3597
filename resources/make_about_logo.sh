#!/usr/bin/env bash
# Draws the 118 × 45 logo of the Tarvel programs shown in the About dialog: the family
# name over a river wave. A 24-bit bitmap without alpha, as the dialog's picture box
# expects.
#     make_about_logo.sh [OUT [SCALE]]
# SCALE 2 draws the same logo at twice the size for screens at 200 %. Without arguments
# it writes resources/about_logo.bmp and resources/about_logo@2x.bmp. Needs ImageMagick's
# convert and Liberation Sans Bold. Run it again only when the logo is to change.
set -euo pipefail
source "$(dirname "$0")/scaled_drawing.sh"
font=/usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf

draw() { # out, scale
  local out=$1 s=$2
  convert -size "$((118 * s))x$((45 * s))" gradient:'#0b3d6e'-'#1f7fb8' \
    -fill '#3fa7d6' -draw "$(scaled "$s" 'polygon 0,36 20,31 40,35 60,30 80,34 100,29 118,33 118,45 0,45')" \
    -fill '#7fd0f0' -draw "$(scaled "$s" 'polygon 0,40 22,36 44,40 66,35 88,39 110,35 118,37 118,45 0,45')" \
    -fill '#f2c230' -draw "$(scaled "$s" 'rectangle 6,6 9,27')" \
    -font "$font" -pointsize "$((20 * s))" -fill white -annotate "+$((14 * s))+$((25 * s))" 'Tarvel' \
    -alpha off -type TrueColor "BMP3:$out"
}

if (($#)); then
  draw "$1" "${2:-1}"
else
  dir=$(dirname "$0")
  draw "$dir/about_logo.bmp" 1
  draw "$dir/about_logo@2x.bmp" 2
fi
