#pragma once

#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tools/makelog/DemoLog.h"

// Files of one test in a folder of their own, removed afterwards.
class ScratchFolder {
 public:
  ScratchFolder() {
    static std::atomic<int> next{0};
    m_path = std::filesystem::temp_directory_path() /
             ("tavrik-conversion-" + std::to_string(::getpid()) + "-" + std::to_string(next++));
    std::filesystem::create_directories(m_path);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  std::filesystem::path operator/(const std::string& name) const { return m_path / name; }
  const std::filesystem::path& Path() const { return m_path; }

 private:
  std::filesystem::path m_path;
};

inline std::string ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

inline void WriteWholeFile(const std::filesystem::path& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

// A generated log of mixed frames with noise between them.
inline void WriteDemoLogFile(const std::filesystem::path& path, uint64_t frames) {
  DemoLogOptions options;
  options.frames = frames;
  options.noisePercent = 3;
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return;
  WriteDemoLog(f, options);
  std::fclose(f);
}

// The header and the rows of a converted file, one string each with its CR LF.
inline std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end + 2 - start));
    start = end + 2;
  }
  return lines;
}
