#include "ConfigFile.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

constexpr int kLineBuffer = 200;

std::string ReadLine(std::FILE* file) {
  char buffer[kLineBuffer] = {};
  if (std::fgets(buffer, kLineBuffer, file) == nullptr) return {};
  // The line is a C string: a zero byte in the file ends it.
  return std::string(buffer, strnlen(buffer, kLineBuffer));
}

}  // namespace

std::optional<ConfigLines> ReadConfigFile(const std::string& path) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                       &std::fclose);
  if (!file) return std::nullopt;
  ConfigLines lines;
  lines.deviceVariant = ReadLine(file.get());
  lines.headingConvention = ReadLine(file.get());
  std::string& v = lines.deviceVariant;
  if (v.size() >= 2 && v.compare(v.size() - 2, 2, "\r\n") == 0) v.resize(v.size() - 2);
  return lines;
}

void ApplyConfig(CPorotocalAnalyse& analyser, const ConfigLines& lines) {
  analyser.SetConfigLine1(lines.deviceVariant);
  analyser.SetConfigLine2(lines.headingConvention);
}

bool IsDeviceVariant(const std::string& variant, const char* identifier) {
  const size_t length = std::strlen(identifier);
  if (variant.size() != length) return false;
  return std::equal(variant.begin(), variant.end(), identifier, [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) ==
           std::tolower(static_cast<unsigned char>(b));
  });
}
