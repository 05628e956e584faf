#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The 133-byte packets of the boot-loader exchange: 0x01, the block number,
// its one's complement, 128 data bytes and their CRC-16/XMODEM, high byte
// first.
class BootBlock {
 public:
  static constexpr size_t kSize = 133;
  static constexpr size_t kDataSize = 128;
  // The header's name field holds at most this many bytes before its NUL.
  static constexpr size_t kNameLimit = 19;

  static constexpr uint8_t kSoh = 0x01;
  static constexpr uint8_t kEot = 0x04;
  static constexpr uint8_t kAck = 0x06;
  static constexpr uint8_t kNak = 0x15;
  static constexpr uint8_t kCrcRequest = 'C';

  using Packet = std::array<uint8_t, kSize>;

  // Block 0: the name (shortened as ShortenedName does), a NUL, the image size
  // in decimal digits and two spaces; zeros after.
  static Packet Header(std::string_view name, uint64_t imageSize);
  // Block number = the low 8 bits of `blockCounter`; `count` (at most 128)
  // bytes, zero-padded.
  static Packet Data(uint32_t blockCounter, const uint8_t* bytes, size_t count);
  // The empty block 0 that ends the batch.
  static Packet Closing();

  // At most kNameLimit bytes of `name`, never ending inside a UTF-8 character.
  static std::string ShortenedName(std::string_view name);
};
