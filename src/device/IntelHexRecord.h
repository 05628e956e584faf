#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

// One line of an Intel HEX file, checked whole: a ':' start, hexadecimal
// digits in pairs, a byte count that matches the line, a known record type
// and a checksum that brings the sum of all bytes to zero.
struct IntelHexRecord {
  enum class Type : uint8_t {
    Data = 0,
    EndOfFile = 1,
    ExtendedSegmentAddress = 2,
    StartSegmentAddress = 3,
    ExtendedLinearAddress = 4,
    StartLinearAddress = 5,
  };

  Type type = Type::Data;
  uint16_t address = 0;
  uint8_t count = 0;
  std::array<uint8_t, 255> data{};

  // Parses `line` (without its line end). Returns null and fills `record`, or
  // the short description of what is wrong with the line.
  static const char* Parse(std::string_view line, IntelHexRecord& record);
};

// What can be wrong with a record, as the refusal message names it.
namespace IntelHexFault {
inline constexpr const char* kMissingColon = "缺少冒号";
inline constexpr const char* kNotHex = "含非十六进制字符";
inline constexpr const char* kOddDigits = "十六进制位数为奇数";
inline constexpr const char* kTooShort = "记录过短";
inline constexpr const char* kCountMismatch = "字节数与记录长度不符";
inline constexpr const char* kUnknownType = "未知记录类型";
inline constexpr const char* kBadChecksum = "校验和错误";
}  // namespace IntelHexFault
