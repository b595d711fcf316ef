#!/usr/bin/env bash
# Draws the launcher's icon (a golden rune on a deep-blue shield) at the sizes Windows asks for and
# packs them into res/icon/tolvane.ico. Needs ImageMagick.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
out="$here/res/icon/tolvane.ico"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Drawn once at 256 pixels on a 16-unit grid, then scaled down with sharpening per size.
convert -size 256x256 xc:none \
  -fill '#0d1b3d' -stroke '#c9a227' -strokewidth 10 \
  -draw "path 'M 128,12 L 232,48 L 222,150 Q 204,210 128,246 Q 52,210 34,150 L 24,48 Z'" \
  -fill none -stroke '#3b5fa8' -strokewidth 4 \
  -draw "path 'M 128,30 L 214,60 L 206,148 Q 190,198 128,228 Q 66,198 50,148 L 42,60 Z'" \
  -stroke '#f2cf5b' -strokewidth 20 \
  -draw "stroke-linecap round line 78,72 178,72" -draw "stroke-linecap round line 128,72 128,196" \
  -draw "stroke-linecap round line 128,120 168,156" -draw "stroke-linecap round line 128,120 88,156" \
  "$work/256.png"
for size in 16 24 32 48 64 128; do
  convert "$work/256.png" -filter Lanczos -resize ${size}x${size} -unsharp 0x0.6 "$work/$size.png"
done
convert "$work/16.png" "$work/24.png" "$work/32.png" "$work/48.png" "$work/64.png" "$work/128.png" \
  "$work/256.png" "$out"
echo "wrote $out"
