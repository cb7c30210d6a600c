#!/usr/bin/env bash
# Installs, builds and starts Vantrel.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build --target vantrel
exec build/vantrel/vantrel
