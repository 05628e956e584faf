#include "update/common/ServerListReader.h"

namespace {

constexpr std::string_view kBlanks = " \t\n\v\f\r";

std::string_view trimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

}  // namespace

std::vector<ServerListReader::Entry> ServerListReader::read(std::string_view text) {
  std::vector<Entry> servers;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    const std::string_view line = trimmed(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    const size_t bar = line.find('|');
    if (bar == std::string_view::npos || bar == 0) continue;
    const std::string_view name = trimmed(line.substr(0, bar));
    const std::string_view url = trimmed(line.substr(bar + 1));
    if (!name.empty() && !url.empty()) servers.push_back({std::string(name), std::string(url)});
  }
  return servers;
}
