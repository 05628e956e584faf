#include "device/BootBlock.h"

#include <algorithm>
#include <cstring>

#include "protocol/Crc16Xmodem.h"

namespace {

bool IsUtf8Continuation(char c) {
  return (uint8_t(c) & 0xC0) == 0x80;
}

}  // namespace

BootBlock::Packet BootBlock::Data(uint32_t blockCounter, const uint8_t* bytes, size_t count) {
  Packet packet{};
  const uint8_t number = uint8_t(blockCounter);
  packet[0] = kSoh;
  packet[1] = number;
  packet[2] = uint8_t(0xFF - number);
  count = std::min(count, kDataSize);
  if (count > 0) std::memcpy(&packet[3], bytes, count);
  const uint16_t crc = Crc16Xmodem(&packet[3], kDataSize);
  packet[3 + kDataSize] = uint8_t(crc >> 8);
  packet[4 + kDataSize] = uint8_t(crc);
  return packet;
}

BootBlock::Packet BootBlock::Header(std::string_view name, uint64_t imageSize) {
  std::string field = ShortenedName(name);
  field += '\0';
  field += std::to_string(imageSize);
  field += "  ";
  return Data(0, reinterpret_cast<const uint8_t*>(field.data()), field.size());
}

BootBlock::Packet BootBlock::Closing() {
  return Data(0, nullptr, 0);
}

std::string BootBlock::ShortenedName(std::string_view name) {
  if (name.size() <= kNameLimit) return std::string(name);
  size_t length = kNameLimit;
  while (length > 0 && IsUtf8Continuation(name[length])) --length;
  return std::string(name.substr(0, length));
}
