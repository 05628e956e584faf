#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

// A copy of everything the unit puts on the line, appended as raw bytes in
// the order they went out, so a recording can be compared with what was
// really sent. Buffered; flushed when the unit ends.
class TeeFile {
 public:
  // Null, with a reason in `error`, when `path` cannot be opened for appending.
  static std::unique_ptr<TeeFile> Open(const std::string& path, std::string* error);
  ~TeeFile();
  TeeFile(const TeeFile&) = delete;
  TeeFile& operator=(const TeeFile&) = delete;

  void Append(const uint8_t* bytes, size_t count);

 private:
  explicit TeeFile(std::FILE* file) : m_file(file) {}

  std::FILE* m_file;
};
