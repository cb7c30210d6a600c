#!/usr/bin/env bash
# Regenerates every picture and sound under data/ from the generators in
# tools/. The output is the same on every run: all randomness is seeded.
# Usage: tools/make_assets.sh <build folder>   (a configured CMake build)
set -euo pipefail
usage="usage: $0 <build folder>"
case "${1-}" in
  -h|--help)
    echo "$usage"
    echo "Regenerates every picture and sound under data/ with the tools of a configured CMake build."
    exit 0 ;;
  -*)
    printf '%s: unknown option %s\n%s\n' "$0" "$1" "$usage" >&2
    exit 2 ;;
esac
if [ $# -ne 1 ]; then
  echo "$usage" >&2
  exit 2
fi
build=$(cd "$1" && pwd)
root=$(cd "$(dirname "$0")/.." && pwd)
banner_pngs=$(mktemp -d)
trap 'rm -rf "$banner_pngs"' EXIT

cmake --build "$build" --target make_pictures
# The painter needs no display.
QT_QPA_PLATFORM=offscreen "$build/tools/make_pictures" "$root/data/pics" "$banner_pngs"
bash "$root/tools/make_banners.sh" "$banner_pngs" "$root/data/pics"
python3 "$root/tools/make_sounds.py" "$root/data/wavs"
