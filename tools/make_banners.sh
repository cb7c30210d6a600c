#!/usr/bin/env bash
# Turns the banner PNGs painted by make_pictures into the GIFs the banner
# strip loads (Qt reads GIF but cannot write it).
# Usage: make_banners.sh <folder with 1.png..15.png> <pics folder>
set -euo pipefail
usage="usage: $0 <banner PNG folder> <pics folder>"
case "${1-}" in
  -h|--help)
    echo "$usage"
    echo "Turns the banner PNGs painted by make_pictures into the GIFs the banner strip loads."
    exit 0 ;;
  -*)
    printf '%s: unknown option %s\n%s\n' "$0" "$1" "$usage" >&2
    exit 2 ;;
esac
if [ $# -ne 2 ]; then
  echo "$usage" >&2
  exit 2
fi
png_dir=$1
pics_dir=$2
for i in $(seq 1 15); do
  # No dithering: the gentle gradients look cleaner banded than speckled.
  # -strip keeps dates and other metadata out, so the output is reproducible.
  convert "$png_dir/$i.png" +dither -strip "$pics_dir/$i.gif"
done
