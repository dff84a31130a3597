# shellcheck shell=bash
# Sourced by the scripts that draw the pictures. Shapes are written in the coordinates of
# the 1× picture; at a larger scale each pixel becomes a square of scale × scale pixels: a
# rectangle's far corner moves to the end of its square, and a (horizontal, one pixel)
# line becomes such a rectangle.
scaled() { # scale, drawing
  if [ "$1" -eq 1 ]; then
    printf '%s' "$2"
    return
  fi
  awk -v s="$1" '{
    for (i = 1; i <= NF; i++) {
      if ($i ~ /^[a-z]+$/) { shape = $i; corner = 0; if (shape == "line") $i = "rectangle" }
      else if ($i ~ /^[0-9]+,[0-9]+$/) {
        split($i, p, ",")
        far = (shape != "polygon" && corner++ % 2) ? s - 1 : 0
        $i = (p[1] * s + far) "," (p[2] * s + far)
      }
    }
    print
  }' <<<"$2"
}
