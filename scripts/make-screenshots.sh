#!/usr/bin/env bash
# Makes every picture under docs/ again from the program as it is now: the
# table with its strategy window, the flash drill, the preferences, the
# cards, the statistics at the program's table and at a casino table, the
# drill, a casino table with split hands and its Table Rules dialog. Run it
# whenever what they show changes.
# Usage: scripts/make-screenshots.sh [build folder, default build]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target table_screenshots history_screenshots contact_sheet
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Offscreen, so no desktop's theme or windows get into the pictures.
export QT_QPA_PLATFORM=offscreen
"$build/tests/table_screenshots" "$work"
"$build/tests/history_screenshots" "$work"
"$build/tools/contact_sheet" docs/cards.png
for picture in table flash-right flash-wrong preferences statistics statistics-casino drill casino-table casino-settled \
               table-rules; do
  cp "$work/$picture.png" "docs/$picture.png"
done
ls -l docs/*.png
