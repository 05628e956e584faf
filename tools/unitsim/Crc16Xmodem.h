#pragma once

#include <cstddef>
#include <cstdint>

// CRC-16/XMODEM: polynomial 0x1021, initial value 0, most significant bit
// first, no final XOR.
uint16_t Crc16Xmodem(const uint8_t* data, size_t count);
