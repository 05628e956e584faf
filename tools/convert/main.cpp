// tavrik-convert: batch conversion of raw logs into column text files.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "convert/ConvertColumns.h"
#include "convert/LogConverter.h"
#include "protocol/ConfigFile.h"
#include "protocol/PorotocalRtkAnalyse.h"

namespace {

constexpr const char* kUsage =
    "usage: tavrik-convert [--config FILE] [-c vel,pos,att,gyro,acc,mag,baro,temp,time] INPUT "
    "OUTPUT\n"
    "  INPUT   raw log (hex text); OUTPUT  column text file, or - for standard output\n"
    "  --config FILE  configuration to read (line 2 \"zhengfu180\": headings -180..180);\n"
    "                 without it ./config is read when it exists\n"
    "  -c LIST        column groups, default vel,pos,att,gyro,acc\n";

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

// True when both paths name one file (the same device and inode, also
// through a symbolic link or a hard link).
bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa {
  }, sb{};
  if (::stat(a.c_str(), &sa) != 0 || ::stat(b.c_str(), &sb) != 0) return false;
  return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

void PrintSummary(const LogConverter::Result& result) {
  std::fprintf(stderr,
               "tavrik-convert: %llu rows written, %llu frames failed their check, %llu bytes "
               "skipped\n",
               static_cast<unsigned long long>(result.rows),
               static_cast<unsigned long long>(result.framesFailed),
               static_cast<unsigned long long>(result.bytesSkipped));
  if (result.rows == 0 && result.framesFailed == 0) {
    std::fputs("tavrik-convert: warning: the input held no frame at all\n", stderr);
  }
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  const char* why = nullptr;
  if (!ParseArguments(argc, argv, options, &why)) return Usage(why);

  CPorotocalRtkAnalyse analyser;
  const std::string configPath = options.configGiven ? options.configPath : kConfigFileName;
  if (auto lines = ReadConfigFile(configPath)) {
    ApplyConfig(analyser, *lines);
  } else if (options.configGiven || errno != ENOENT) {
    // Only a default configuration that is simply absent may be left out.
    return IoError(configPath, std::strerror(errno));
  }

  // The input must be readable before anything is created, and the output
  // must not be the input: opening it for writing would empty the log.
  using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;
  File log(std::fopen(options.input.c_str(), "rb"), &std::fclose);
  if (!log) return IoError(options.input, std::strerror(errno));
  struct stat inputInfo {};
  if (::fstat(::fileno(log.get()), &inputInfo) == 0 && S_ISDIR(inputInfo.st_mode)) {
    return IoError(options.input, std::strerror(EISDIR));
  }
  const bool toStdout = options.output == "-";
  if (!toStdout && SameFile(options.input, options.output)) {
    std::fprintf(stderr, "tavrik-convert: %s: is the input itself; refusing to overwrite it\n",
                 options.output.c_str());
    return 1;
  }
  std::error_code sizeError;
  const uint64_t logSize = std::filesystem::file_size(options.input, sizeError);

  File target(toStdout ? stdout : std::fopen(options.output.c_str(), "wb+"),
              toStdout ? [](std::FILE*) { return 0; } : &std::fclose);
  if (!target) return IoError(options.output, std::strerror(errno));
  std::setvbuf(target.get(), nullptr, _IOFBF, size_t(1) << 20);

  ProgressBar bar;
  LogConverter converter(analyser, options.columns);
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
  PrintSummary(result);
  return 0;
}
