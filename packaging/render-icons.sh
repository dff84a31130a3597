#!/usr/bin/env bash
# Renders the icon's PNG sizes from icons/zelm.svg (needs rsvg-convert from librsvg2-bin),
# and packs them into windows/zelm.ico, the programs' icon on Windows (each size kept as
# PNG, which Windows reads since Vista). The results are kept in the repository, so
# building and packaging never need this.
set -euo pipefail
cd "$(dirname "$0")/icons"
sizes=(16 24 32 48 64 128 256)
for size in "${sizes[@]}"; do
  mkdir -p "${size}x${size}"
  rsvg-convert -w "$size" -h "$size" zelm.svg -o "${size}x${size}/zelm.png"
done
python3 - ../windows/zelm.ico "${sizes[@]}" <<'PY'
import struct, sys
out, sizes = sys.argv[1], [int(s) for s in sys.argv[2:]]
images = [open(f"{s}x{s}/zelm.png", "rb").read() for s in sizes]
offset = 6 + 16 * len(images)
directory = b""
for size, data in zip(sizes, images):
    side = size % 256  # 0 stands for 256
    directory += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(data), offset)
    offset += len(data)
with open(out, "wb") as f:
    f.write(struct.pack("<HHH", 0, 1, len(images)) + directory + b"".join(images))
PY
