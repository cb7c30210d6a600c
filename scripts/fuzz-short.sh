#!/usr/bin/env bash
# Runs each fuzz target briefly over a copy of its seed corpus.
# Usage: scripts/fuzz-short.sh <build dir configured with VANTREL_FUZZ=ON> [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:?build dir}
seconds=${2:-30}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen
for target in fuzz_splitstring fuzz_chart fuzz_preferences fuzz_cardlibrary; do
  mkdir -p "$work/$target"
  echo "== $target: ${seconds}s"
  # Timing is part of the settings store's cache check: keep each fuzzer
  # in its own folder so none sees another's files.
  (cd "$work" && "$OLDPWD/$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 \
      -rss_limit_mb=2048 -print_final_stats=1 "$work/$target" "$OLDPWD/tests/fuzz/corpus/$target" \
      2>&1 | tail -n 15) || { echo "$target found a fault"; exit 1; }
done
