#!/bin/sh
# Builds fix_pruxa.exe if needed and runs it under a throwaway Wine prefix.
set -eu
cd "$(dirname "$0")/.."
sh tools/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j2 >/dev/null

WINEPREFIX=$(mktemp -d /tmp/fix_pruxa_demo.XXXXXX)
export WINEPREFIX WINEDEBUG=-all WINEARCH=win32 WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY
trap 'wineserver -k 2>/dev/null; wineserver -w 2>/dev/null; rm -rf "$WINEPREFIX"' EXIT
wineboot -i >/dev/null 2>&1
mkdir -p "$WINEPREFIX/drive_c/Tools"
cp build/windows/fix_pruxa.exe "$WINEPREFIX/drive_c/Tools/"
set +e
wine 'C:\Tools\fix_pruxa.exe' /Q </dev/null
echo "exit status: $?"
echo "--- C:\\Tools\\fix_pruxa.log"
cat "$WINEPREFIX/drive_c/Tools/fix_pruxa.log"
