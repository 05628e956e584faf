#pragma once

#include <QByteArray>
#include <atomic>
#include <deque>
#include <mutex>
#include <vector>

// Writes handed to the worker, in the order they were queued. A second write
// queued before the worker has sent the first waits behind it instead of
// replacing it.
class WriteQueue {
 public:
  struct Write {
    QByteArray bytes;
    // Unread input is dropped before the bytes go out (commands), or kept
    // (boot-loader answers, whose reply may already be on its way).
    bool purgeInputFirst = true;
  };

  void Push(Write write);
  std::vector<Write> TakeAll();
  // Lets the reading loop give way to a waiting write without taking the lock.
  bool HasPending() const { return m_pending.load(std::memory_order_acquire); }

 private:
  std::mutex m_lock;
  std::deque<Write> m_writes;
  std::atomic<bool> m_pending{false};
};
