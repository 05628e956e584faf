#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Splits a parameter text ("ExecutePar") into words the way a POSIX shell
// would, without running one and without any expansion: blanks separate
// words; '...' keeps everything literally; "..." keeps everything but
// lets a backslash escape $ ` " \ and a line break; outside quotes a
// backslash keeps the next character. An unclosed quote is an error.
class CommandLineWords {
 public:
  static std::optional<std::vector<std::string>> split(std::string_view text);
};
