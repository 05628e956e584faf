#pragma once

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "update/UpdateLog.h"

// Collects the update check's status lines for a test; they arrive on the
// update and download threads.
class LogRecorder {
 public:
  UpdateLogSink sink() {
    return [this](UpdateLogKind kind, const std::string& line) {
      if (kind != UpdateLogKind::Status) return;
      std::lock_guard<std::mutex> lock(m_lock);
      m_stamped.push_back(line);
      m_changed.notify_all();
    };
  }

  // The lines without their "hh:mm:ss " stamp.
  std::vector<std::string> lines() const {
    std::lock_guard<std::mutex> lock(m_lock);
    std::vector<std::string> texts;
    for (const std::string& line : m_stamped)
      texts.push_back(line.size() > 9 ? line.substr(9) : "");
    return texts;
  }
  std::vector<std::string> stampedLines() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_stamped;
  }

  // Waits (generously, the machine may be busy) until `text` has been logged.
  bool waitFor(const std::string& text, std::chrono::seconds patience = std::chrono::seconds(120)) {
    std::unique_lock<std::mutex> lock(m_lock);
    return m_changed.wait_for(lock, patience, [&] {
      return std::any_of(m_stamped.begin(), m_stamped.end(), [&](const std::string& line) {
        return line.size() > 9 && line.compare(9, std::string::npos, text) == 0;
      });
    });
  }

  int count(const std::string& text) const {
    const std::vector<std::string> all = lines();
    return static_cast<int>(std::count(all.begin(), all.end(), text));
  }
  // Position of the first such line, or -1.
  int indexOf(const std::string& text) const {
    const std::vector<std::string> all = lines();
    const auto found = std::find(all.begin(), all.end(), text);
    return found == all.end() ? -1 : static_cast<int>(found - all.begin());
  }

 private:
  mutable std::mutex m_lock;
  std::condition_variable m_changed;
  std::vector<std::string> m_stamped;
};
