#!/usr/bin/env bash
# Draws the program icon (a yellow sticky note with a folded corner and a red pin) at 16 and
# 32 pixels and packs both into Vornquill2.ico. Needs ImageMagick; the .ico is committed.
set -euo pipefail
cd "$(dirname "$0")"
t=$(mktemp -d); trap 'rm -rf "$t"' EXIT
convert -size 32x32 xc:none \
  -fill '#F2C500' -draw 'polygon 3,5 29,5 29,22 22,29 3,29' \
  -fill '#FFE45C' -draw 'polygon 4,6 28,6 28,21 21,28 4,28' \
  -fill '#D9A800' -draw 'polygon 21,28 28,21 21,21' \
  -stroke '#8A6D00' -strokewidth 1 -draw 'line 8,13 24,13' -draw 'line 8,17 24,17' -draw 'line 8,21 18,21' \
  -stroke none -fill '#D32F2F' -draw 'circle 16,5 16,2' "$t/32.png"
convert -size 16x16 xc:none \
  -fill '#F2C500' -draw 'polygon 1,2 14,2 14,11 11,14 1,14' \
  -fill '#FFE45C' -draw 'polygon 2,3 13,3 13,10 10,13 2,13' \
  -fill '#D9A800' -draw 'polygon 10,13 13,10 10,10' \
  -stroke '#8A6D00' -draw 'line 4,6 11,6' -draw 'line 4,9 9,9' \
  -stroke none -fill '#D32F2F' -draw 'rectangle 7,1 8,2' "$t/16.png"
convert "$t/16.png" "$t/32.png" Vornquill2.ico
