// tavrik-convert: batch conversion of raw logs into column text files.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "ConfigFile.h"
#include "ConvertColumns.h"
#include "LogConverter.h"
#include "PorotocalRtkAnalyse.h"

namespace {

constexpr const char* kUsage =
    "usage: tavrik-convert [--config FILE] [-c vel,pos,att,gyro,acc,mag,baro,temp,time] INPUT "
    "OUTPUT\n";

struct Options {
  std::string configPath;
  bool configGiven = false;
  ConvertColumns columns = ConvertColumns::Default();
  std::string input;
  std::string output;
};

int Usage(const char* why) {
  if (why) std::fprintf(stderr, "tavrik-convert: %s\n", why);
  std::fputs(kUsage, stderr);
  return 2;
}

int IoError(const std::string& path, const char* what) {
  std::fprintf(stderr, "tavrik-convert: %s: %s\n", path.c_str(), what);
  return 1;
}

bool ParseArguments(int argc, char** argv, Options& o, const char** why) {
  std::vector<std::string> positional;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--config" || arg == "-c") {
      if (i + 1 >= argc) {
        *why = "missing value after an option";
        return false;
      }
      const std::string value = argv[++i];
      if (arg == "--config") {
        o.configPath = value;
        o.configGiven = true;
      } else if (auto columns = ConvertColumns::Parse(value)) {
        o.columns = *columns;
      } else {
        *why = "unknown column group in -c";
        return false;
      }
    } else if (arg.size() > 1 && arg[0] == '-') {
      *why = "unknown option";
      return false;
    } else {
      positional.push_back(arg);
    }
  }
  if (positional.size() != 2) {
    *why = "expected INPUT and OUTPUT";
    return false;
  }
  o.input = positional[0];
  o.output = positional[1];
  return true;
}

// A bar on standard error, redrawn only when the percentage moves.
class ProgressBar {
 public:
  ProgressBar() : m_enabled(::isatty(STDERR_FILENO) == 1) {}
  void Update(uint64_t done, uint64_t total) {
    if (!m_enabled || total == 0) return;
    const int percent = int(done * 100 / total);
    if (percent == m_lastPercent) return;
    m_lastPercent = percent;
    std::string bar(size_t(percent / 2), '#');
    bar.resize(50, ' ');
    std::fprintf(stderr, "\r[%s] %3d%%", bar.c_str(), percent);
  }
  void Finish() {
    if (m_enabled && m_lastPercent >= 0) std::fputc('\n', stderr);
  }

 private:
  bool m_enabled;
  int m_lastPercent = -1;
};

}  // namespace

int main(int argc, char** argv) {
  Options options;
  const char* why = nullptr;
  if (!ParseArguments(argc, argv, options, &why)) return Usage(why);

  CPorotocalRtkAnalyse* analyser = GetAnalyser();
  if (analyser == nullptr) return IoError("analyser", "out of memory");
  const std::string configPath = options.configGiven ? options.configPath : kConfigFileName;
  if (auto lines = ReadConfigFile(configPath)) {
    ApplyConfig(*analyser, *lines);
  } else if (options.configGiven) {
    return IoError(configPath, std::strerror(errno));
  }

  using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;
  File log(std::fopen(options.input.c_str(), "rb"), &std::fclose);
  if (!log) return IoError(options.input, std::strerror(errno));
  std::error_code sizeError;
  const uint64_t logSize = std::filesystem::file_size(options.input, sizeError);

  const bool toStdout = options.output == "-";
  File target(toStdout ? stdout : std::fopen(options.output.c_str(), "wb+"),
              toStdout ? [](std::FILE*) { return 0; } : &std::fclose);
  if (!target) return IoError(options.output, std::strerror(errno));
  std::setvbuf(target.get(), nullptr, _IOFBF, size_t(1) << 20);

  ProgressBar bar;
  LogConverter converter(*analyser, options.columns);
  const LogConverter::Result result =
      converter.Convert(log.get(), target.get(), sizeError ? 0 : logSize,
                        [&bar](uint64_t done, uint64_t total) { bar.Update(done, total); });
  bar.Finish();

  if (result.status == LogConverter::Status::ReadError) {
    return IoError(options.input, "read error");
  }
  if (result.status == LogConverter::Status::WriteError) {
    return IoError(toStdout ? std::string("standard output") : options.output, "write error");
  }
  if (!toStdout && std::fclose(target.release()) != 0)
    return IoError(options.output, "write error");
  return 0;
}
