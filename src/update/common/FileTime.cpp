#include "update/common/FileTime.h"

#include <limits>

uint64_t FileTime::fromUnix(const timespec& time) {
  constexpr int64_t kSecondsBefore1970 = static_cast<int64_t>(kUnixEpoch / 10000000ULL);
  const int64_t seconds = static_cast<int64_t>(time.tv_sec);
  if (seconds < -kSecondsBefore1970) return 0;  // before 1601: the earliest time there is
  const uint64_t since1601 = static_cast<uint64_t>(seconds + kSecondsBefore1970);
  if (since1601 > (std::numeric_limits<uint64_t>::max() - 9999999ULL) / 10000000ULL)
    return std::numeric_limits<uint64_t>::max();
  return since1601 * 10000000ULL + static_cast<uint64_t>(time.tv_nsec) / 100;
}
