#include "device/ReplyLineBuffer.h"

void ReplyLineBuffer::Put(size_t position, uint8_t byte) {
  if (position < kSize) m_bytes[position] = byte;
}

bool ReplyLineBuffer::StartsWith(std::string_view pattern) const {
  if (pattern.size() > kSize) return false;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (m_bytes[i] != static_cast<uint8_t>(pattern[i])) return false;
  }
  return true;
}

std::string ReplyLineBuffer::Copy(size_t position, size_t length) const {
  std::string text;
  for (size_t i = position; i < kSize && i < position + length && m_bytes[i] != 0; ++i) {
    text.push_back(static_cast<char>(m_bytes[i]));
  }
  return text;
}
