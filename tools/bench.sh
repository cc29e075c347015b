#!/bin/sh
# Reruns every performance figure in docs/performance.md: the checksum
# benchmark on the host, then the tool under Wine.
set -eu
cd "$(dirname "$0")/.."
sh tools/setup.sh
cmake --preset bench >/dev/null
cmake --build --preset bench -j2 >/dev/null
build/bench/tests/bench/crc32_bench --benchmark_min_time=1
cmake --preset windows >/dev/null
cmake --build --preset windows -j2 --target fix_pruxa >/dev/null
python3 tools/bench_wine.py build/windows/fix_pruxa.exe
