#include "tools/unitsim/ReplyLog.h"

#include <cerrno>
#include <cstring>

std::unique_ptr<ReplyLog> ReplyLog::Open(const std::string& path, std::string* error) {
  std::FILE* file = std::fopen(path.c_str(), "ab");
  if (file == nullptr) {
    if (error) *error = path + ": " + std::strerror(errno);
    return nullptr;
  }
  return std::unique_ptr<ReplyLog>(new ReplyLog(file));
}

ReplyLog::~ReplyLog() {
  std::fclose(m_file);
}

void ReplyLog::Sent(std::chrono::steady_clock::time_point when, const std::string& line) {
  const auto ns =
      std::chrono::duration_cast<std::chrono::nanoseconds>(when.time_since_epoch()).count();
  std::fprintf(m_file, "%lld %s\n", static_cast<long long>(ns), line.c_str());
  std::fflush(m_file);
}
