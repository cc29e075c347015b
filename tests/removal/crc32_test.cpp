#include "removal/crc32.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <random>
#include <vector>

namespace {

std::uint32_t Of(const char *text) {
  return Crc32(reinterpret_cast<const unsigned char *>(text),
               std::char_traits<char>::length(text));
}

TEST(Crc32, KnownValues) {
  EXPECT_EQ(Of("123456789"), 0xCBF43926u);
  EXPECT_EQ(Of("abc"), 0x352441C2u);
  EXPECT_EQ(Of("123456789\xd8\xc1\xe1\xfd"), 0x0425EF6Du);
}

TEST(Crc32, AgreesWithZlibOverRandomBuffers) {
  std::mt19937 random(20011213);
  std::vector<unsigned char> buffer(70000);
  for (unsigned char &byte : buffer)
    byte = static_cast<unsigned char>(random());
  for (std::size_t length : {1u, 2u, 3u, 4u, 7u, 8u, 31u, 255u, 256u, 4095u,
                             4096u, 4097u, 65536u, 70000u}) {
    for (std::size_t offset : {0u, 1u, 3u}) {
      if (offset + length > buffer.size())
        continue;
      EXPECT_EQ(Crc32(buffer.data() + offset, length),
                crc32(0, buffer.data() + offset, static_cast<uInt>(length)))
          << length << "@" << offset;
    }
  }
}

} // namespace
