#pragma once

#include <optional>
#include <string>
#include <string_view>

// Our executables carry their version as a marker text that the build embeds
// (tavrik_embed_version_marker in VersionMarker.cmake):
//
//   "@(#)tavrik-version <file version> <product version>" and a NUL,
//
// each version four decimal numbers joined by dots. The update check reads
// the installed file's version from it; a file without a well-formed marker
// has no version.
class VersionMarker {
 public:
  struct Versions {
    std::string fileVersion;     // "%u.%u.%u.%u"
    std::string productVersion;  // "%u.%u.%u.%u"
  };

  static constexpr std::string_view kPrefix = "@(#)tavrik-version ";

  // The bytes a build embeds for the given versions (NUL included).
  static std::string text(std::string_view fileVersion, std::string_view productVersion);

  // Scans an open file from its current position to its end; the first
  // well-formed marker wins.
  static std::optional<Versions> find(int fd);

  // Reads "<a.b.c.d> <e.f.g.h>\0" at the start of `tail` (the bytes after
  // the prefix).
  static std::optional<Versions> parse(std::string_view tail);

  // The longest tail parse() may need to look at.
  static constexpr size_t kMaxTail = 2 * (4 * 10 + 3) + 2;
};
