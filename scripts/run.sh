#!/usr/bin/env bash
# Installs, builds and starts Vantrel.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
# A folder of its own: the tests build build/ with another build type, and
# sharing one folder would rebuild everything each time the other runs.
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build-release --target vantrel
exec build-release/vantrel/vantrel
