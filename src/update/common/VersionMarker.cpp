#include "update/common/VersionMarker.h"

#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <vector>

#include "update/common/TextFormat.h"

namespace {

// Reads "a.b.c.d" (each 1 to 10 digits, at most 2^32 - 1) from the front of
// `text`, leaving what follows.
std::optional<std::string> takeVersion(std::string_view& text) {
  uint32_t parts[4];
  size_t i = 0;
  for (int field = 0; field < 4; ++field) {
    if (field > 0) {
      if (i >= text.size() || text[i] != '.') return std::nullopt;
      ++i;
    }
    uint64_t value = 0;
    size_t digits = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9' && digits < 11) {
      value = value * 10 + static_cast<uint64_t>(text[i] - '0');
      ++i;
      ++digits;
    }
    if (digits == 0 || digits > 10 || value > UINT32_MAX) return std::nullopt;
    parts[field] = static_cast<uint32_t>(value);
  }
  text.remove_prefix(i);
  return textf("%u.%u.%u.%u", parts[0], parts[1], parts[2], parts[3]);
}

}  // namespace

std::string VersionMarker::text(std::string_view fileVersion, std::string_view productVersion) {
  std::string marker(kPrefix);
  marker.append(fileVersion).append(1, ' ').append(productVersion).append(1, '\0');
  return marker;
}

std::optional<VersionMarker::Versions> VersionMarker::parse(std::string_view tail) {
  std::optional<std::string> file = takeVersion(tail);
  if (!file || tail.empty() || tail[0] != ' ') return std::nullopt;
  tail.remove_prefix(1);
  std::optional<std::string> product = takeVersion(tail);
  if (!product || tail.empty() || tail[0] != '\0') return std::nullopt;
  return Versions{std::move(*file), std::move(*product)};
}

std::optional<VersionMarker::Versions> VersionMarker::find(int fd) {
  // Candidates starting before `complete` have all the bytes parse() can
  // need; later ones wait in the buffer for the next block.
  const size_t keep = kPrefix.size() + kMaxTail;
  std::vector<char> block(size_t(256) << 10);
  std::string buffer;
  for (;;) {
    const ssize_t n = ::read(fd, block.data(), block.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return std::nullopt;
    const bool end = n == 0;
    buffer.append(block.data(), static_cast<size_t>(n));
    const size_t complete = end ? buffer.size() : (buffer.size() > keep ? buffer.size() - keep : 0);
    for (size_t at = buffer.find(kPrefix); at != std::string::npos && at < complete;
         at = buffer.find(kPrefix, at + 1)) {
      const std::string_view tail = std::string_view(buffer).substr(at + kPrefix.size(), kMaxTail);
      if (std::optional<Versions> versions = parse(tail)) return versions;
    }
    if (end) return std::nullopt;
    buffer.erase(0, complete);
  }
}
