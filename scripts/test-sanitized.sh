#!/usr/bin/env bash
# Builds every test with AddressSanitizer and UndefinedBehaviorSanitizer
# under clang and runs the whole suite there; any report fails the run.
# Then gives each fuzz target a short bounded run.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build-asan
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined" \
  -DVANTREL_FUZZ=ON
cmake --build "$build"
# Qt and the system libraries under it keep allocations until exit, which
# LeakSanitizer reports; leaks are left to the memory checks.
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
ctest --test-dir "$build" --output-on-failure
bash scripts/fuzz-short.sh "$build"
