#include "LineAssembler.h"

#include <cstring>
#include <string_view>

std::vector<std::string> LineAssembler::Feed(const uint8_t* bytes, size_t count) {
  std::vector<std::string> lines;
  for (size_t i = 0; i < count; ++i) {
    const char c = char(bytes[i]);
    if (c == '\r' || c == '\n') {
      if (!m_line.empty()) lines.push_back(std::move(m_line));
      m_line.clear();
      continue;
    }
    // An overlong line is noise, not a command.
    if (m_line.size() >= kLongestLine) m_line.clear();
    m_line += c;
    if (std::string_view(m_line).ends_with(kResetCommand)) {
      lines.emplace_back(kResetCommand);
      m_line.clear();
    }
  }
  return lines;
}
