#pragma once

#include <cstdint>
#include <ctime>

// The update file list dates files as a 64-bit file time: 100 ns units since
// 1601-01-01 UTC, split into two 32-bit halves ("FileDateLow",
// "FileDateHigh"). These convert the local file system's times into it.
class FileTime {
 public:
  // 100 ns units from 1601-01-01 to 1970-01-01.
  static constexpr uint64_t kUnixEpoch = 116444736000000000ULL;

  static uint64_t fromUnix(const timespec& time);
  static uint64_t fromHalves(uint32_t low, uint32_t high) {
    return (static_cast<uint64_t>(high) << 32) | low;
  }
};
