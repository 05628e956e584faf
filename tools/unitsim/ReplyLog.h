#pragma once

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

// One line per answer the unit sent: the moment its last byte went onto the
// line (steady clock, nanoseconds, the same clock every process on this
// machine reads) and the answer's text. Lets a benchmark measure how long
// the program takes to report a reply.
class ReplyLog {
 public:
  // Null, with a reason in `error`, when `path` cannot be opened for appending.
  static std::unique_ptr<ReplyLog> Open(const std::string& path, std::string* error);
  ~ReplyLog();
  ReplyLog(const ReplyLog&) = delete;
  ReplyLog& operator=(const ReplyLog&) = delete;

  void Sent(std::chrono::steady_clock::time_point when, const std::string& line);

 private:
  explicit ReplyLog(std::FILE* file) : m_file(file) {}

  std::FILE* m_file;
};
