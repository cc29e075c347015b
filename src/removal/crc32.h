#pragma once

#include <cstddef>
#include <cstdint>

// The CRC-32 of zip and PNG, bit by bit with no table. `length` >= 1.
std::uint32_t Crc32(const unsigned char *bytes, std::size_t length);
