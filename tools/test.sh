#!/bin/sh
# Builds both presets and runs every test: the host tests against the
# in-memory machine, then the real program under Wine.
set -eu
cd "$(dirname "$0")/.."
sh tools/setup.sh

cmake --preset host >/dev/null
cmake --build --preset host -j2
ctest --preset host -j2

cmake --preset windows >/dev/null
cmake --build --preset windows -j2
ls -l build/windows/fix_pruxa.exe
ctest --preset windows
