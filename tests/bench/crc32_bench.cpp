// Crc32 beside a bit-by-bit loop that branches on each bit (the floor it
// must match or beat) and zlib's table-driven crc32 (the ceiling).
#include "removal/crc32.h"

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <random>
#include <vector>

namespace {

// Left to itself the compiler turns this branch into a conditional move;
// if-conversion is kept off so that the loop branches on each bit as
// written.
__attribute__((optimize("no-if-conversion", "no-if-conversion2"))) std::uint32_t
BranchingCrc32(const unsigned char *bytes, std::size_t length) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < length; ++i) {
    crc ^= bytes[i];
    for (int bit = 0; bit < 8; ++bit) {
      if (crc & 1u)
        crc = (crc >> 1) ^ 0xEDB88320u;
      else
        crc >>= 1;
    }
  }
  return ~crc;
}

const std::vector<unsigned char> &Data() {
  // Random bytes, so that the branching loop cannot predict its branches.
  static const std::vector<unsigned char> data = [] {
    std::vector<unsigned char> bytes(1 << 20);
    std::mt19937 random(42);
    for (unsigned char &byte : bytes)
      byte = static_cast<unsigned char>(random());
    return bytes;
  }();
  return data;
}

template <std::uint32_t (*Function)(const unsigned char *, std::size_t)>
void Run(benchmark::State &state) {
  const std::vector<unsigned char> &data = Data();
  for (auto _ : state)
    benchmark::DoNotOptimize(Function(data.data(), data.size()));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(data.size()));
}

std::uint32_t Zlib(const unsigned char *bytes, std::size_t length) {
  return static_cast<std::uint32_t>(crc32(0, bytes, static_cast<uInt>(length)));
}

BENCHMARK(Run<Crc32>)->Name("Crc32 (branch-free, bit by bit)");
BENCHMARK(Run<BranchingCrc32>)->Name("bit by bit, branching");
BENCHMARK(Run<Zlib>)->Name("zlib crc32 (table)");

} // namespace

BENCHMARK_MAIN();
