#pragma once

#include <string>
#include <string_view>
#include <vector>

// The update server list: plain text, one server a line, as
// "<name>|<URL of its file list>" with optional white space around both
// parts. Lines without a name, without a URL, or without the bar (or with
// the bar first) are skipped.
class ServerListReader {
 public:
  struct Entry {
    std::string name;
    std::string url;
  };

  static std::vector<Entry> read(std::string_view text);
};
