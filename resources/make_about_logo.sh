#!/usr/bin/env bash
# Draws resources/about_logo.bmp, the 118 × 45 logo of the Tarvel programs shown in the
# About dialog: the family name over a river wave. A 24-bit bitmap without alpha, as the
# dialog's picture box expects. Needs ImageMagick's convert and Liberation Sans Bold.
# Run it again only when the logo is to change.
set -euo pipefail
out="${1:-$(dirname "$0")/about_logo.bmp}"
font=/usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf

convert -size 118x45 gradient:'#0b3d6e'-'#1f7fb8' \
  -fill '#3fa7d6' -draw 'polygon 0,36 20,31 40,35 60,30 80,34 100,29 118,33 118,45 0,45' \
  -fill '#7fd0f0' -draw 'polygon 0,40 22,36 44,40 66,35 88,39 110,35 118,37 118,45 0,45' \
  -fill '#f2c230' -draw 'rectangle 6,6 9,27' \
  -font "$font" -pointsize 20 -fill white -annotate +14+25 'Tarvel' \
  -alpha off -type TrueColor "BMP3:$out"
