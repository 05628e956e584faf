#pragma once

#include <string>
#include <vector>

// Cuts the bytes the program sends into command lines. A line ends at CR or
// LF. "reset!" carries no line end, so it is taken as soon as its last byte
// arrives.
class LineAssembler {
 public:
  static constexpr const char* kResetCommand = "reset!";

  // Complete lines (without line ends, empty lines left out) found so far.
  std::vector<std::string> Feed(const uint8_t* bytes, size_t count);
  void Clear() { m_line.clear(); }

 private:
  static constexpr size_t kLongestLine = 256;
  std::string m_line;
};
