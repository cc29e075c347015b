#!/bin/sh
# Builds and runs every test: formatting and static analysis, the host tests against the in-memory machine
# (plain, then under AddressSanitizer and UndefinedBehaviorSanitizer), the
# fuzzers for a bounded number of runs, then the real program under Wine.
set -eu
cd "$(dirname "$0")/.."
sh tools/setup.sh
sh tools/lint.sh

for preset in host host-sanitize fuzz; do
  echo "=== $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j2 >/dev/null
  ctest --preset "$preset" -j2
done

echo "=== windows"
cmake --preset windows >/dev/null
cmake --build --preset windows -j2 >/dev/null
ls -l build/windows/fix_pruxa.exe
ctest --preset windows
