#!/usr/bin/env bash
# Renders the menu icon's PNG sizes from icons/vantrel.svg into the hicolor
# layout under icons/hicolor. The PNGs are committed; run this after
# changing the SVG. Needs rsvg-convert (Debian package librsvg2-bin).
set -euo pipefail
icons=$(cd "$(dirname "$0")/icons" && pwd)
for size in 16 32 48 64 128 256; do
  mkdir -p "$icons/hicolor/${size}x${size}/apps"
  rsvg-convert --width "$size" --height "$size" "$icons/vantrel.svg" \
    --output "$icons/hicolor/${size}x${size}/apps/vantrel.png"
done
