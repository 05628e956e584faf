#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The 100 bytes a reply line is assembled in. A new line overwrites the buffer
// from position 0 without clearing it, so bytes of an earlier, longer line may
// stay behind; every reader here works on the raw bytes for that reason.
class ReplyLineBuffer {
 public:
  static constexpr size_t kSize = 100;

  uint8_t At(size_t position) const { return position < kSize ? m_bytes[position] : 0; }
  void Put(size_t position, uint8_t byte);
  void Zero() { m_bytes.fill(0); }

  // Prefix test: only the pattern's own length is compared.
  bool StartsWith(std::string_view pattern) const;

  // Up to `length` bytes from `position`, ended early by a zero byte.
  std::string Copy(size_t position, size_t length) const;

 private:
  std::array<uint8_t, kSize> m_bytes{};
};
