// Removal of the worm's script file, only when its content is the worm's.
#pragma once

#include <cstdint>

constexpr std::uint32_t kScriptChecksum = 0x0425EF6D;

void RemoveScriptIni();
