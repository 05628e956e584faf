// tavrik-makelog: writes a raw log of generated frames (demo, tests, benchmarks).
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "DemoLog.h"

int main(int argc, char** argv) {
  DemoLogOptions options;
  const char* output = nullptr;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--frames" && hasValue) {
      options.frames = std::strtoull(argv[++i], nullptr, 10);
    } else if (arg == "--noise" && hasValue) {
      options.noisePercent = std::atof(argv[++i]);
    } else if (arg == "--seed" && hasValue) {
      options.seed = uint32_t(std::strtoul(argv[++i], nullptr, 10));
    } else if (arg == "--one-kind") {
      options.mixKinds = false;
    } else if (arg[0] != '-' && output == nullptr) {
      output = argv[i];
    } else {
      std::fputs(
          "usage: tavrik-makelog [--frames N] [--noise PERCENT] [--seed N] [--one-kind] OUTPUT\n",
          stderr);
      return 2;
    }
  }
  if (output == nullptr) {
    std::fputs(
        "usage: tavrik-makelog [--frames N] [--noise PERCENT] [--seed N] [--one-kind] OUTPUT\n",
        stderr);
    return 2;
  }
  std::FILE* out = std::strcmp(output, "-") == 0 ? stdout : std::fopen(output, "wb");
  if (out == nullptr) {
    std::fprintf(stderr, "tavrik-makelog: %s: %s\n", output, std::strerror(errno));
    return 1;
  }
  if (!WriteDemoLog(out, options)) {
    std::fprintf(stderr, "tavrik-makelog: %s: write error\n", output);
    return 1;
  }
  return out == stdout ? 0 : (std::fclose(out) == 0 ? 0 : 1);
}
