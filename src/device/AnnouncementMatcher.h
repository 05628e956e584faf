#pragma once

#include <cstdint>

// Spots the boot loader's announcement, the word "main", in the bytes that
// follow "reset!". A byte that breaks the word starts the match again, so
// "maxin" is no announcement while "mmain" is. After a match the state stays
// put, as the unit's loader has always been answered.
class AnnouncementMatcher {
 public:
  // True when `byte` completes "main".
  bool Feed(uint8_t byte);
  void Reset() { m_state = 1; }

 private:
  int m_state = 1;
};
