#include "removal/crc32.h"

std::uint32_t Crc32(const unsigned char *bytes, std::size_t length) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < length; ++i) {
    crc ^= bytes[i];
    for (int bit = 0; bit < 8; ++bit) {
      // The mask is all ones exactly when the bit shifted out is 1; no
      // branch for the processor to mispredict.
      crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
  }
  return ~crc;
}
