#!/bin/sh
# Two clean builds of the same sources, in folders of different names, must
# give the same fix_pruxa.exe byte for byte.
# Usage: reproducible.sh SOURCE-DIR
set -eu
source=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
for build in first second-build; do
  cmake -S "$source" -B "$scratch/$build" \
    --toolchain "$source/cmake/i686-w64-mingw32.cmake" \
    -DCMAKE_BUILD_TYPE=MinSizeRel -DBUILD_TESTING=OFF >/dev/null
  cmake --build "$scratch/$build" --target fix_pruxa -j2 >/dev/null
done
sha256sum "$scratch/first/fix_pruxa.exe" "$scratch/second-build/fix_pruxa.exe"
cmp "$scratch/first/fix_pruxa.exe" "$scratch/second-build/fix_pruxa.exe"
echo "identical"
