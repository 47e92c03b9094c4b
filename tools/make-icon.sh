#!/usr/bin/env bash
# Redraws app/OmbrelSetup.ico, the program's icon, from our own battery glyph
# of the skin (skin/setup/BATTERY.BMP, drawn by tools/make_skin.cpp): its grey
# background made transparent, at 16, 32 and 48 pixels. Needs ImageMagick.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
glyph=$root/skin/setup/BATTERY.BMP
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
convert "$glyph" -alpha set -fuzz 2% -transparent 'rgb(240,240,240)' "$work/32.png"
convert "$work/32.png" -filter Lanczos -resize 16x16 "$work/16.png"
convert "$work/32.png" -filter Lanczos -resize 48x48 "$work/48.png"
convert "$work/16.png" "$work/32.png" "$work/48.png" "$root/app/OmbrelSetup.ico"
identify "$root/app/OmbrelSetup.ico"
