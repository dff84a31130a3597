#!/usr/bin/env bash
# Draws resources/dam.jpg, the 222 × 135 picture of the upper pool shown in the main
# window: a small gated concrete dam seen from the reservoir side, with a row of
# sluice-gate frames on its crest, the spillway wall, the pool in front and grass below.
# Needs ImageMagick's convert. Run it again only when the picture is to change.
set -euo pipefail
out="${1:-$(dirname "$0")/dam.jpg}"

# Gate frames: eight piers with a gate leaf hung between each pair.
gates=""
for i in $(seq 0 7); do
  x=$((20 + i * 24))
  gates+=" fill '#8d8d86' rectangle $x,30 $((x + 5)),66"
  [ "$i" -lt 7 ] && gates+=" fill '#4f5a63' rectangle $((x + 6)),40 $((x + 23)),58"
  [ "$i" -lt 7 ] && gates+=" fill '#6b757d' rectangle $((x + 6)),40 $((x + 23)),43"
done

eval convert -size 222x135 gradient:'#9cc8ec'-'#e4f1fb' \
  -fill "'#a3b38a'" -draw "'polygon 0,52 40,38 90,46 150,34 222,44 222,70 0,70'" \
  -fill "'#6f8f4e'" -draw "'polygon 0,60 60,54 120,58 222,52 222,70 0,70'" \
  -fill "'#b9b7ae'" -draw "'rectangle 10,26 214,31'" \
  -draw "\"$gates\"" \
  -fill "'#c8c5bb'" -draw "'rectangle 8,64 216,82'" \
  -fill "'#a9a69c'" -draw "'rectangle 8,64 216,67'" \
  -fill "'#3d6f93'" -draw "'rectangle 0,80 222,112'" \
  -fill "'#5d8fb3'" -draw "'line 10,88 60,88 line 90,94 150,94 line 30,101 96,101 line 140,106 210,106 line 170,86 212,86'" \
  -fill "'#4c8a2f'" -draw "'polygon 0,110 50,106 110,109 170,105 222,108 222,135 0,135'" \
  -fill "'#3b7224'" -draw "'polygon 0,122 70,117 140,121 222,116 222,135 0,135'" \
  -quality 88 -strip "'$out'"
