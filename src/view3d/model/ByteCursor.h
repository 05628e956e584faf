#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

// Little-endian reads from a byte buffer that never step past its end: a
// read beyond it marks the cursor failed and yields zero, so a parser checks
// ok() once after a block instead of before every field.
class ByteCursor {
 public:
  explicit ByteCursor(std::span<const uint8_t> bytes, size_t position = 0)
      : m_bytes(bytes), m_position(position), m_ok(position <= bytes.size()) {}

  bool ok() const { return m_ok; }
  size_t position() const { return m_position; }
  size_t remaining() const { return m_ok ? m_bytes.size() - m_position : 0; }
  // True when count records of size bytes each still lie inside the buffer.
  bool holds(uint64_t count, uint64_t size) const { return count * size <= remaining(); }
  const uint8_t* here() const { return m_bytes.data() + m_position; }

  void skip(size_t count) {
    if (take(count) == nullptr) m_ok = false;
  }
  uint8_t u8() { return static_cast<uint8_t>(little(1)); }
  int8_t i8() { return static_cast<int8_t>(u8()); }
  uint16_t u16() { return static_cast<uint16_t>(little(2)); }
  int16_t i16() { return static_cast<int16_t>(u16()); }
  uint32_t u32() { return static_cast<uint32_t>(little(4)); }
  int32_t i32() { return static_cast<int32_t>(u32()); }
  float f32() { return std::bit_cast<float>(u32()); }

 private:
  const uint8_t* take(size_t count) {
    if (!m_ok || count > m_bytes.size() - m_position) {
      m_ok = false;
      return nullptr;
    }
    const uint8_t* start = m_bytes.data() + m_position;
    m_position += count;
    return start;
  }
  uint64_t little(size_t count) {
    const uint8_t* p = take(count);
    uint64_t value = 0;
    if (p == nullptr) return 0;
    for (size_t i = count; i-- > 0;) value = (value << 8) | p[i];
    return value;
  }

  std::span<const uint8_t> m_bytes;
  size_t m_position;
  bool m_ok;
};
