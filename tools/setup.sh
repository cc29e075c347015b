#!/bin/sh
# Installs, as root on Debian 12, what building and testing need. Does
# nothing when everything is there already.
set -eu

needed=""
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "ok installed"; }
for package in cmake g++ make python3 tmux libgtest-dev zlib1g-dev \
  libbenchmark-dev clang libclang-rt-14-dev clang-format clang-tidy \
  g++-mingw-w64-i686-win32 binutils-mingw-w64-i686 wine wine32:i386; do
  have "$package" || needed="$needed $package"
done
[ -z "$needed" ] && exit 0

if [ "$(id -u)" != 0 ]; then
  echo "setup: missing packages:$needed; run this script as root" >&2
  exit 1
fi
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
# shellcheck disable=SC2086
apt-get install -y -qq --no-install-recommends $needed >/dev/null
for package in $needed; do
  have "$package" || { echo "setup: $package did not install" >&2; exit 1; }
done
echo "setup: installed$needed"
