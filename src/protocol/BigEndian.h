#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

// Field readers and writers for the unit's big-endian frames.
namespace be {

inline int32_t ReadS24(const uint8_t* p) {
  int32_t v = (int32_t(p[0]) << 16) | (int32_t(p[1]) << 8) | int32_t(p[2]);
  return v >= 0x800000 ? v - 0x1000000 : v;
}
inline int32_t ReadS16(const uint8_t* p) {
  int32_t v = (int32_t(p[0]) << 8) | int32_t(p[1]);
  return v >= 0x8000 ? v - 0x10000 : v;
}
inline uint32_t ReadU16(const uint8_t* p) {
  return (uint32_t(p[0]) << 8) | uint32_t(p[1]);
}
inline double ReadF64(const uint8_t* p) {
  uint64_t bits = 0;
  for (int i = 0; i < 8; ++i) bits = (bits << 8) | p[i];
  return std::bit_cast<double>(bits);
}
inline double ReadF32(const uint8_t* p) {
  uint32_t bits = (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
  return std::bit_cast<float>(bits);
}

inline void WriteS24(uint8_t* p, int32_t v) {
  uint32_t u = uint32_t(v) & 0xFFFFFF;
  p[0] = uint8_t(u >> 16);
  p[1] = uint8_t(u >> 8);
  p[2] = uint8_t(u);
}
inline void WriteU16(uint8_t* p, uint32_t v) {
  p[0] = uint8_t(v >> 8);
  p[1] = uint8_t(v);
}
inline void WriteF64(uint8_t* p, double v) {
  uint64_t bits = std::bit_cast<uint64_t>(v);
  for (int i = 7; i >= 0; --i, bits >>= 8) p[i] = uint8_t(bits);
}
inline void WriteF32(uint8_t* p, double v) {
  uint32_t bits = std::bit_cast<uint32_t>(float(v));
  for (int i = 3; i >= 0; --i, bits >>= 8) p[i] = uint8_t(bits);
}

}  // namespace be
