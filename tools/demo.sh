#!/bin/sh
# The main job: builds fix_pruxa.exe if needed and cleans a simulated
# infected Windows machine (a throwaway Wine prefix) with it.
set -eu
cd "$(dirname "$0")/.."
sh tools/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j2 --target fix_pruxa >/dev/null
exec python3 tools/demo.py build/windows/fix_pruxa.exe
