#!/bin/sh
# Formatting and static analysis, both clean or the command fails. The
# Windows-only files are analysed against mingw-w64's own headers.
set -eu
cd "$(dirname "$0")/.."
files=$(git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h')
# shellcheck disable=SC2086
clang-format --dry-run --Werror $files
echo "clang-format: clean"

[ -f build/host/compile_commands.json ] || cmake --preset host >/dev/null
[ -f build/windows/compile_commands.json ] || cmake --preset windows >/dev/null
portable=$(git ls-files 'src/*.cpp' | grep -v -e platform_win32 -e run/main.cpp)
# shellcheck disable=SC2086
clang-tidy -p build/host --quiet $portable 2>&1 | grep -v "warnings generated" || true
clang-tidy -p build/host --quiet $portable >/dev/null 2>&1 ||
  { echo "clang-tidy: findings in the portable sources"; exit 1; }

gcc_include=$(dirname "$(i686-w64-mingw32-g++-win32 -print-libgcc-file-name)")/include
set -- --extra-arg=--target=i686-w64-mingw32 \
  --extra-arg=-isystem"$gcc_include/c++" \
  --extra-arg=-isystem"$gcc_include/c++/i686-w64-mingw32" \
  --extra-arg=-isystem/usr/i686-w64-mingw32/include
clang-tidy -p build/windows --quiet "$@" src/platform/platform_win32.cpp \
  src/run/main.cpp 2>&1 | grep -v "warnings generated" || true
clang-tidy -p build/windows --quiet "$@" src/platform/platform_win32.cpp \
  src/run/main.cpp >/dev/null 2>&1 ||
  { echo "clang-tidy: findings in the Windows sources"; exit 1; }
echo "clang-tidy: clean"
