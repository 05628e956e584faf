// Arbitrary bytes read as a server list: never a crash, and every server
// read has a trimmed name and URL from a single line.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "update/common/ServerListReader.h"

namespace {

bool trimmedLine(std::string_view text) {
  if (text.empty() || text.find('\n') != std::string_view::npos) return false;
  constexpr std::string_view kBlanks = " \t\n\v\f\r";
  return kBlanks.find(text.front()) == std::string_view::npos &&
         kBlanks.find(text.back()) == std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  size_t lines = 1;
  for (char c : text) lines += c == '\n';
  const auto servers = ServerListReader::read(text);
  if (servers.size() > lines) std::abort();
  for (const auto& server : servers) {
    if (!trimmedLine(server.name) || !trimmedLine(server.url)) std::abort();
    if (server.name.find('|') != std::string::npos) std::abort();
  }
  return 0;
}
