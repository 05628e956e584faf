#pragma once

#include <cstddef>
#include <cstdint>

// CRC-16/XMODEM, the check of every boot-loader packet: polynomial 0x1021,
// initial value 0, most significant bit first, no reflection, no final XOR.
// The program's loader and the virtual unit's boot loader share it.
uint16_t Crc16Xmodem(const uint8_t* data, size_t count);
