#pragma once

#include <optional>
#include <string>

#include "protocol/PorotocalAnalyse.h"

// The program's two-line configuration file: line 1 names the device
// variant, line 2 the heading convention.
struct ConfigLines {
  std::string deviceVariant;      // trailing CR LF removed
  std::string headingConvention;  // exactly as read, line end included
};

inline constexpr const char* kConfigFileName = "config";

// Reads the first two lines the way the program always has: each with a
// 200-byte line reader, so a first line over 199 characters spills into
// line 2. Returns nothing, with errno telling why, when the file cannot be
// read (absent, not permitted, a directory).
std::optional<ConfigLines> ReadConfigFile(const std::string& path = kConfigFileName);

// Hands both lines to the analyser.
void ApplyConfig(CPorotocalAnalyse& analyser, const ConfigLines& lines);
