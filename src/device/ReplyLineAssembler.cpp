#include "device/ReplyLineAssembler.h"

namespace {

constexpr uint8_t kCr = 0x0D;
constexpr uint8_t kLf = 0x0A;

}  // namespace

bool ReplyLineAssembler::EndsLine(uint8_t byte) const {
  return m_collecting && byte == kLf && m_lastStored == kCr;
}

void ReplyLineAssembler::Take(uint8_t byte) {
  if (m_collecting) Store(byte);

  const bool sign = byte == '+' || byte == '-';
  if (byte == '*' || (sign && !m_signStartBlocked)) {
    m_buffer.Put(0, byte);
    m_storeIndex = 1;
    m_collecting = true;
    m_signStartBlocked = true;
  }
}

void ReplyLineAssembler::Store(uint8_t byte) {
  m_buffer.Put(m_storeIndex, byte);
  ++m_storeIndex;
  m_lastStored = byte;
  if (m_storeIndex > kLastStoreIndex) Reset();
}

void ReplyLineAssembler::Reset() {
  m_collecting = false;
  m_signStartBlocked = false;
  m_storeIndex = 0;
  m_buffer.Zero();
}
