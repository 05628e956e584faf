#pragma once

#include <cstddef>
#include <cstdint>

// CRC-16/MODBUS: reflected polynomial 0xA001, initial value 0xFFFF, no final XOR.
uint16_t Crc16Modbus(const uint8_t* data, size_t count);

// The 8-bit sum that closes a Frame76.
uint8_t Sum8(const uint8_t* data, size_t count);
