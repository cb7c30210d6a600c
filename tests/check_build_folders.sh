#!/usr/bin/env bash
# Each set-up script builds in a folder of its own, so running the README's
# run and test commands one after the other never rebuilds everything: one
# folder holds one build type. Usage: check_build_folders.sh <source dir>
set -euo pipefail
cd "$1/scripts"
declare -A owner
status=0
for script in run.sh test.sh test-sanitized.sh package.sh; do
  # The folder after "-B", through a variable where the script names one.
  folder=$(grep -oE -- '-B +[^ ]+' "$script" | head -1 | awk '{print $2}')
  if [[ $folder == '"$build"' ]]; then
    folder=$(grep -oE '^build=[^ ]+' "$script" | head -1 | cut -d= -f2)
  fi
  if [ -z "$folder" ]; then
    echo "$script: no build folder found"; status=1; continue
  fi
  if [ -n "${owner[$folder]:-}" ]; then
    echo "$script and ${owner[$folder]} both build in $folder"; status=1
  fi
  owner[$folder]=$script
done
exit $status
