#include "protocol/ConfigFile.h"

#include <sys/stat.h>

#include <cerrno>
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
  // A directory opens for reading here but holds no lines.
  struct stat info {};
  if (::fstat(::fileno(file.get()), &info) == 0 && S_ISDIR(info.st_mode)) {
    errno = EISDIR;
    return std::nullopt;
  }
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
