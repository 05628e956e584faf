#pragma once

#include <functional>
#include <mutex>
#include <string>

// What the update check has to say. Status lines ("正在更新文件：...") carry
// the local time in front, as "%.2u:%.2u:%.2u %s"; traces are the plain
// diagnostic texts of the threads and jobs.
enum class UpdateLogKind { Status, Trace };

// Called from the update thread and the download threads, one call at a
// time, never with the caller expecting anything back. A sink must not call
// into the UpdateManager.
using UpdateLogSink = std::function<void(UpdateLogKind kind, const std::string& line)>;

class UpdateLog {
 public:
  // Without a sink, status lines go to standard error and traces nowhere.
  explicit UpdateLog(UpdateLogSink sink = {});

  void setSink(UpdateLogSink sink);

  void log(const std::string& text);
  void trace(const std::string& text);

  static std::string stamped(const std::string& text);

 private:
  std::mutex m_lock;
  UpdateLogSink m_sink;
};
