#pragma once

#include <array>
#include <cstdint>

#include "protocol/NavSample.h"

inline constexpr int kFrame76Length = 76;
inline constexpr int kFrame120Length = 120;
inline constexpr int kFrame220Length = 220;

using Frame76Bytes = std::array<uint8_t, kFrame76Length>;
using Frame120Bytes = std::array<uint8_t, kFrame120Length>;
using Frame220Bytes = std::array<uint8_t, kFrame220Length>;

// Second header byte: 0xBB or 0xCC for the CRC frames, 0x60..0x6F for Frame76.
Frame120Bytes BuildFrame120(const NavSample& s, uint8_t secondHeaderByte = 0xBB);
Frame220Bytes BuildFrame220(const NavSample& s, uint8_t secondHeaderByte = 0xBB);
// A Frame76 is the first 75 bytes of the 120-byte layout plus an 8-bit sum.
Frame76Bytes BuildFrame76(const NavSample& s, uint8_t secondHeaderByte = 0x61);

// The status byte of a 120-byte frame (offset 59) for these values.
uint8_t StatusFlags120(const NavSample& s);
