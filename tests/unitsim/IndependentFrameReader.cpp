#include "IndependentFrameReader.h"

#include <algorithm>
#include <cstring>

namespace {

uint32_t Unsigned(const uint8_t* p, int bytes) {
  uint32_t v = 0;
  for (int i = 0; i < bytes; ++i) v = (v << 8) | p[i];
  return v;
}

double Double(const uint8_t* p) {
  uint8_t little[8];
  std::reverse_copy(p, p + 8, little);
  double v;
  std::memcpy(&v, little, 8);
  return v;
}

// Bit by bit, unlike the table-driven library code.
uint16_t Crc16Modbus(const uint8_t* data, size_t count) {
  uint16_t crc = 0xFFFF;
  for (size_t i = 0; i < count; ++i) {
    crc ^= data[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? uint16_t((crc >> 1) ^ 0xA001) : crc >> 1;
  }
  return crc;
}

}  // namespace

size_t IndependentFrameReader::Count(int length) const {
  return size_t(std::count_if(m_frames.begin(), m_frames.end(),
                              [&](const Frame& f) { return f.length == length; }));
}

void IndependentFrameReader::Feed(const uint8_t* bytes, size_t count) {
  m_pending.insert(m_pending.end(), bytes, bytes + count);
  size_t at = 0;
  while (m_pending.size() - at >= 2) {
    const uint8_t* p = &m_pending[at];
    const bool header = (p[0] == 0xAA || p[0] == 0xBA) && (p[1] == 0xBB || p[1] == 0xCC);
    const int length = p[0] == 0xAA ? 120 : 220;
    if (!header) {
      ++at;
      continue;
    }
    if (m_pending.size() - at < size_t(length)) break;
    if (Crc16Modbus(p, size_t(length - 2)) != Unsigned(p + length - 2, 2)) {
      ++m_failures;
      ++at;
      continue;
    }
    const int attitude = length == 220 ? 159 : 24;
    const int velocity = length == 220 ? 165 : 30;
    const int position = length == 220 ? 194 : 39;
    const uint32_t north = Unsigned(p + velocity + 3, 3);
    m_frames.push_back(
        Frame{length, Unsigned(p + attitude + 4, 2) * 0.01, Double(p + position + 8),
              Double(p + position),
              (north & 0x800000 ? int32_t(north) - 0x1000000 : int32_t(north)) * 0.0001});
    at += size_t(length);
  }
  m_pending.erase(m_pending.begin(), m_pending.begin() + std::ptrdiff_t(at));
}
