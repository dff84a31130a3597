#!/usr/bin/env bash
# Renders the icon's PNG sizes from icons/zelm.svg (needs rsvg-convert from librsvg2-bin).
# The PNGs are kept in the repository, so building and packaging never need this.
set -euo pipefail
cd "$(dirname "$0")/icons"
for size in 16 24 32 48 64 128 256; do
  mkdir -p "${size}x${size}"
  rsvg-convert -w "$size" -h "$size" zelm.svg -o "${size}x${size}/zelm.png"
done
