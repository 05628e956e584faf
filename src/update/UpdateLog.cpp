#include "update/UpdateLog.h"

#include <cstdio>
#include <ctime>

#include "update/common/TextFormat.h"

UpdateLog::UpdateLog(UpdateLogSink sink) : m_sink(std::move(sink)) {}

void UpdateLog::setSink(UpdateLogSink sink) {
  std::lock_guard<std::mutex> lock(m_lock);
  m_sink = std::move(sink);
}

std::string UpdateLog::stamped(const std::string& text) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  ::localtime_r(&now, &local);
  return textf("%.2u:%.2u:%.2u %s", static_cast<unsigned>(local.tm_hour),
               static_cast<unsigned>(local.tm_min), static_cast<unsigned>(local.tm_sec),
               text.c_str());
}

void UpdateLog::log(const std::string& text) {
  const std::string line = stamped(text);
  std::lock_guard<std::mutex> lock(m_lock);
  if (m_sink) {
    m_sink(UpdateLogKind::Status, line);
  } else {
    std::fprintf(stderr, "%s\n", line.c_str());
  }
}

void UpdateLog::trace(const std::string& text) {
  std::lock_guard<std::mutex> lock(m_lock);
  if (m_sink) m_sink(UpdateLogKind::Trace, text);
}
