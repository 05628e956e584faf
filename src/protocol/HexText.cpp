#include "protocol/HexText.h"

#include <array>
#include <cstring>

namespace {

constexpr std::array<int8_t, 256> MakeDigitTable() {
  std::array<int8_t, 256> t{};
  for (auto& v : t) v = -1;
  for (int c = '0'; c <= '9'; ++c) t[size_t(c)] = int8_t(c - '0');
  for (int c = 'A'; c <= 'F'; ++c) t[size_t(c)] = int8_t(c - 'A' + 10);
  for (int c = 'a'; c <= 'f'; ++c) t[size_t(c)] = int8_t(c - 'a' + 10);
  return t;
}

constexpr std::array<int8_t, 256> kDigit = MakeDigitTable();
constexpr char kUpperHex[] = "0123456789ABCDEF";

inline int Digit(char c) {
  return kDigit[uint8_t(c)];
}

// The byte that two characters spell, indexed by the characters as they lie
// in memory, or -1: one lookup per byte on the fast path of large logs.
const std::array<int16_t, 65536>& PairTable() {
  static const std::array<int16_t, 65536> table = [] {
    std::array<int16_t, 65536> t{};
    for (unsigned first = 0; first < 256; ++first) {
      for (unsigned second = 0; second < 256; ++second) {
        const int hi = kDigit[first], lo = kDigit[second];
        const char pair[2] = {char(first), char(second)};
        uint16_t key;
        std::memcpy(&key, pair, 2);
        t[key] = int16_t((hi | lo) < 0 ? -1 : (hi << 4) | lo);
      }
    }
    return t;
  }();
  return table;
}

}  // namespace

char* WriteHexText(const uint8_t* data, size_t count, char* out) {
  for (size_t i = 0; i < count; ++i) {
    *out++ = kUpperHex[data[i] >> 4];
    *out++ = kUpperHex[data[i] & 0x0F];
    *out++ = ' ';
  }
  return out;
}

std::string ToHexText(const uint8_t* data, size_t count) {
  std::string text(count * 3, '\0');
  WriteHexText(data, count, text.data());
  return text;
}

size_t DecodeHexText(const char* text, size_t length, uint8_t* out) {
  size_t written = 0;
  size_t i = 0;
  while (i < length) {
    if (text[i] == ' ') {
      ++i;
      continue;
    }
    if (i + 1 >= length) break;
    const int hi = Digit(text[i]);
    const int lo = Digit(text[i + 1]);
    if (hi < 0 || lo < 0) break;
    out[written++] = uint8_t((hi << 4) | lo);
    i += 2;
  }
  return written;
}

size_t HexStreamDecoder::Decode(const char* text, size_t length, uint8_t* out) {
  const std::array<int16_t, 65536>& pairs = PairTable();
  uint8_t* o = out;
  size_t i = 0;
  while (i < length) {
    // Fast path for the log's own shape: "HH " with no pair pending.
    if (m_pendingNibble < 0) {
      while (i + 3 <= length) {
        uint16_t key;
        std::memcpy(&key, text + i, 2);
        const int value = pairs[key];
        if (value < 0 || text[i + 2] != ' ') break;
        *o++ = uint8_t(value);
        i += 3;
      }
      if (i >= length) break;
    }
    const int v = Digit(text[i++]);
    if (v < 0) {
      m_pendingNibble = -1;  // a space or stray character breaks a pair
    } else if (m_pendingNibble < 0) {
      m_pendingNibble = v;
    } else {
      *o++ = uint8_t((m_pendingNibble << 4) | v);
      m_pendingNibble = -1;
    }
  }
  return size_t(o - out);
}
